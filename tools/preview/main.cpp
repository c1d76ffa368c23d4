// vorrel-preview: the demo in a window, to seek, pause and reload while working on it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/OptionParser.h"
#include "preview/Preview.h"
#include "preview/PreviewOptions.h"

int main(int argc, char** argv) {
    if (OptionParser::wantsHelp(argc, argv)) {
        printf("%s\n", PreviewOptions::usage().c_str());
        return 0;
    }
    PreviewOptions options;
    std::string error;
    if (!options.parse(argc, argv, error) ||
        (!options.dataDir.empty() &&
         !OptionParser::enterDataFolder(options.dataDir, {&options.shotsDir}, error))) {
        fprintf(stderr, "vorrel-preview: %s (--help for the options)\n", error.c_str());
        return 2;
    }
    // Heap-held and never deleted: like the demo, the process ends with its scenes alive.
    Preview* preview = new Preview(options);
    preview->run();
}
