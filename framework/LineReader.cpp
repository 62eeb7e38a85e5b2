#include "framework/LineReader.h"

CLineReader::CLineReader(HANDLE file)
    : m_source([file](char* buffer, size_t size) -> size_t {
          DWORD got = 0;
          if (!ReadFile(file, buffer, static_cast<DWORD>(size), &got, nullptr))
              return 0;
          return got;
      })
{
}

bool CLineReader::Fill()
{
    if (m_pos < m_end)
        return true;
    m_pos = 0;
    m_end = m_source ? m_source(m_buffer, kBufferSize) : 0;
    return m_end > 0;
}

bool CLineReader::ReadLine(std::string& line)
{
    line.clear();
    if (!Fill())
        return false;
    for (;;) {
        while (m_pos < m_end) {
            const char c = m_buffer[m_pos++];
            if (c == '\n')
                return true;
            if (c == '\r') {
                if (Fill() && m_buffer[m_pos] == '\n')
                    ++m_pos;
                return true;
            }
            line.push_back(c);
        }
        if (!Fill())
            return true; // last line without a break
    }
}
