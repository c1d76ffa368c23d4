// Whole-file reading and the first bytes of a file, with the layer's error codes.
#pragma once

#include <vector>

class SoundFile {
  public:
    // Reads the whole file; 0, or the error code: missing 9, unreadable 11, empty 10.
    static int readAll(const char* name, std::vector<unsigned char>* data);
    // Whether the file can be opened for reading.
    static bool exists(const char* name);
    // Whether data begins with the given bytes.
    static bool startsWith(const std::vector<unsigned char>& data, const char* magic, int length);
};
