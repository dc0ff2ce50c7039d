#pragma once

#include "print/Report.h"

#include <string>
#include <vector>

/// What a RecordingPrinter was sent. It outlives the printer, which the print
/// command discards when it is done.
struct PrintRecord
{
    std::vector<std::string> lines; // each ended line
    std::string current;            // text of a line not yet ended
    int documentsEnded = 0;
};

/// A report printer that keeps what it is sent, and accepts or refuses the
/// document when it is ended.
class RecordingPrinter : public report::ReportPrinter
{
public:
    explicit RecordingPrinter(PrintRecord &record, bool accepts = true)
        : m_record(record), m_accepts(accepts)
    {
    }

    void printText(std::string_view text) override { m_record.current += text; }
    void endLine() override
    {
        m_record.lines.push_back(m_record.current);
        m_record.current.clear();
    }
    bool endDocument() override
    {
        ++m_record.documentsEnded;
        return m_accepts;
    }

private:
    PrintRecord &m_record;
    bool m_accepts;
};
