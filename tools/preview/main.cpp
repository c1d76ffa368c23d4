// vorrel-preview: the demo in a window, to seek, pause and reload while working on it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Preview.h"
#include "PreviewOptions.h"

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        printf("%s\n", PreviewOptions::usage());
        return 0;
    }
    PreviewOptions options;
    std::string error;
    if (!options.parse(argc, argv, error)) {
        fprintf(stderr, "vorrel-preview: %s (--help for the options)\n", error.c_str());
        return 2;
    }
    // Heap-held and never deleted: like the demo, the process ends with its scenes alive.
    Preview* preview = new Preview(options);
    preview->run();
}
