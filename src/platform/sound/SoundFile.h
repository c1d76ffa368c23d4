// Whole-file reading and the first bytes of a file.
#pragma once

#include <vector>

#include "platform/sound/LoadResult.h"

class SoundFile {
  public:
    // Reads the whole file: NOT_FOUND when missing, UNREADABLE, UNKNOWN_FORMAT when empty.
    static LoadResult readAll(const char* name, std::vector<unsigned char>* data);
    // Whether the file can be opened for reading.
    static bool exists(const char* name);
    // Whether data begins with the given bytes.
    static bool startsWith(const std::vector<unsigned char>& data, const char* magic, int length);
};
