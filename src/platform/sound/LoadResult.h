// What the layer's decoders and loaders report; the layer's surface turns it into its error code.
#pragma once

enum class LoadResult {
    OK,
    NOT_FOUND,      // the file cannot be opened
    UNREADABLE,     // reading it failed part way
    UNKNOWN_FORMAT, // no decoder makes a sound of it
    NO_MEMORY
};
