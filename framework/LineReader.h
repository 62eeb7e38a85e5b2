#pragma once
// Buffered reader of text lines. CR LF, a lone LF and a lone CR each end one
// line; the break is not part of the text and no other byte is dropped
// (NUL bytes included). A read fails at the end of the input before any
// character (so an empty line counts as read), and on a line longer than
// the reader's limit, which stops it for good: a file that is one huge
// line must not cost its size in memory. Platform-free.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class CLineReader {
public:
    // Fills up to size bytes; returns how many, 0 at the end of the input.
    using Source = std::function<size_t(char* buffer, size_t size)>;

    static constexpr size_t kBufferSize = 4096;

    explicit CLineReader(Source source, size_t maxLineLength = SIZE_MAX)
        : m_source(std::move(source)), m_maxLineLength(maxLineLength)
    {
    }

    bool ReadLine(std::string& line);
    // A line went past the limit; nothing more is read.
    bool TooLong() const { return m_tooLong; }

private:
    bool Fill();

    Source m_source;
    size_t m_maxLineLength;
    bool m_tooLong = false;
    char m_buffer[kBufferSize];
    size_t m_pos = 0;
    size_t m_end = 0;
};
