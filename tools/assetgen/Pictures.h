// Every picture the demo loads, in one list: file name, size, how it is made, how it is stored.
#pragma once

#include <string>
#include <vector>

class Pictures {
  public:
    // The frame height the demo itself shows: the set made for it is the demo's own data.
    static constexpr int BASE_HEIGHT = 600;
    // The tallest frame a set can be made for; above it the largest pictures stop growing.
    static constexpr int MAX_HEIGHT = 4320;

    struct File {
        std::string name;
        int width;
        int height;
    };

    // The files of the set made for frames frameHeight lines tall, and their sizes: each
    // picture holds about what the largest such frame (a 4:3 picture frameHeight lines tall)
    // shows of it, with power-of-two sides of at most Sides::MAX.
    static std::vector<File> files(int frameHeight);
    // Writes every picture into directory, lettered in the faces found in fontDirectory, on
    // every core; prints a line per file in the list's order and returns false when a face
    // cannot be loaded or a file cannot be written.
    static bool writeAll(const std::string& directory, const std::string& fontDirectory,
                         int frameHeight);
};
