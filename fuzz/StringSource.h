#pragma once
// A line reader's source over a string that hands out the bytes in chunks
// of the given sizes in turn (0 or none: as many as asked), so that breaks
// fall on every kind of buffer boundary.
#include "framework/LineReader.h"

#include <algorithm>
#include <string>
#include <vector>

inline CLineReader::Source StringSource(const std::string& text, std::vector<size_t> chunks = {})
{
    return [&text, chunks = std::move(chunks), at = size_t{0}, call = size_t{0}](char* buffer,
                                                                               size_t room) mutable {
        size_t n = std::min(room, text.size() - at);
        if (!chunks.empty()) {
            const size_t chunk = chunks[call++ % chunks.size()];
            if (chunk != 0)
                n = std::min(n, chunk);
        }
        text.copy(buffer, n, at);
        at += n;
        return n;
    };
}
