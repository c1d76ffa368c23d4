// Test support: a fresh folder with a textures/ subfolder, made the working directory while
// the object lives, as the scenes read their pictures relative to it.
#pragma once

#include <string>

class DataFolder {
  public:
    DataFolder();
    // Goes back to the previous working directory and removes the folder.
    ~DataFolder();

    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    // False when the folder could not be made or entered.
    bool ready;
    std::string path;

  private:
    std::string previous;
};
