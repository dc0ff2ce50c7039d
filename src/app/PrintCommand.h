#pragma once

#include "print/Report.h"
#include "ui/FileDialog.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace report {
class ReportPrinter;
}
class QWidget;

/// 印刷: after the A4 prompt, takes the scratch file's lines when another
/// program placed one, the list's items otherwise, and the result boxes;
/// report::composeReport lays out the report's lines and report::printReport
/// sends them to the printer the factory opens (the system's default printer
/// unless a test put in its own), or, with no printer, to a PDF file the user
/// names.
class PrintCommand
{
public:
    /// Opens the printer the report goes to; nullptr when there is none.
    using PrinterFactory = std::function<std::unique_ptr<report::ReportPrinter>()>;

    PrintCommand(QWidget *window, QString scratchDataPath);
    void setPrinterFactory(PrinterFactory openPrinter) { m_openPrinter = std::move(openPrinter); }

    void print(const std::vector<std::string> &items, const report::BoxTexts &boxes);

private:
    /// The report's value section; nullopt (after saying why) when a scratch
    /// file is there but cannot be read.
    std::optional<std::vector<std::string>> reportEntries(const std::vector<std::string> &items);
    /// With no printer: offers to save the report as a PDF file instead.
    void saveReportAsPdf(const std::vector<std::string> &lines);

    QWidget *m_window;
    QString m_scratchDataPath;
    PrinterFactory m_openPrinter;
    FileDialog m_pdfDialog;
};
