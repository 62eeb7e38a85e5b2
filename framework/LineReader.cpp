#include "framework/LineReader.h"

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
    if (m_tooLong || !Fill())
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
            if (line.size() == m_maxLineLength) {
                m_tooLong = true;
                line.clear();
                return false;
            }
            line.push_back(c);
        }
        if (!Fill())
            return true; // last line without a break
    }
}
