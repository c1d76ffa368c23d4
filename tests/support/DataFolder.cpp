// Making, entering and removing a scratch data folder.
#include "support/DataFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

DataFolder::DataFolder() : ready(false), path(), previous() {
    char cwd[4096];
    char pattern[] = "/tmp/vq-data-XXXXXX";
    if (!getcwd(cwd, sizeof(cwd)) || !mkdtemp(pattern)) {
        return;
    }
    previous = cwd;
    path = pattern;
    ready = mkdir((path + "/textures").c_str(), 0755) == 0 && chdir(path.c_str()) == 0;
}

DataFolder::~DataFolder() {
    if (!previous.empty() && chdir(previous.c_str()) != 0) {
        return;
    }
    if (!path.empty()) {
        const int removed = system(("rm -rf '" + path + "'").c_str());
        (void)removed; // a scratch folder left in /tmp harms nothing
    }
}
