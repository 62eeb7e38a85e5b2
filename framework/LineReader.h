#pragma once
// Buffered reader of text lines. CR LF, a lone LF and a lone CR each end one
// line; the break is not part of the text and no other byte is dropped
// (NUL bytes included). A read fails only at the end of the input before
// any character, so an empty line counts as read.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

class CLineReader {
public:
    // Fills up to size bytes; returns how many, 0 at the end of the input.
    using Source = std::function<size_t(char* buffer, size_t size)>;

    static constexpr size_t kBufferSize = 4096;

    explicit CLineReader(Source source) : m_source(std::move(source)) {}
    // Reads from an open file handle, which stays owned by the caller.
    explicit CLineReader(HANDLE file);

    bool ReadLine(std::string& line);

private:
    bool Fill();

    Source m_source;
    char m_buffer[kBufferSize];
    size_t m_pos = 0;
    size_t m_end = 0;
};
