#include "app/PrintCommand.h"

#include "app/VorlaTexts.h"
#include "files/ScratchFile.h"
#include "print/QtReportPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

using vorla_texts::kPrintTitle;

PrintCommand::PrintCommand(QWidget *window, QString scratchDataPath)
    : m_window(window), m_scratchDataPath(std::move(scratchDataPath)),
      m_openPrinter(&QtReportPrinter::openDefaultPrinter)
{
}

void PrintCommand::print(const std::vector<std::string> &items, const report::BoxTexts &boxes)
{
    QMessageBox prompt(QMessageBox::NoIcon, kPrintTitle, QStringLiteral("A4の用紙をセットしてください"),
                       QMessageBox::Ok | QMessageBox::Cancel, m_window);
    prompt.setDefaultButton(QMessageBox::Ok);
    if (prompt.exec() != QMessageBox::Ok)
        return; // Cancel or Esc: nothing is read and nothing printed

    const std::optional<std::vector<std::string>> entries = reportEntries(items);
    if (!entries)
        return;
    const std::vector<std::string> lines = report::composeReport(*entries, boxes);
    const std::unique_ptr<report::ReportPrinter> printer = m_openPrinter();
    if (!printer)
        saveReportAsPdf(lines);
    else if (!report::printReport(lines, *printer))
        QMessageBox::warning(m_window, kPrintTitle, vorla_texts::printFailedText());
}

std::optional<std::vector<std::string>>
PrintCommand::reportEntries(const std::vector<std::string> &items)
{
    if (!QFile::exists(m_scratchDataPath))
        return items;
    std::optional<std::vector<std::string>> scratch = files::readScratchLines(m_scratchDataPath);
    if (!scratch)
        QMessageBox::warning(m_window, kPrintTitle,
                             vorla_texts::scratchUnreadableText(QDir::toNativeSeparators(m_scratchDataPath)));
    return scratch;
}

void PrintCommand::saveReportAsPdf(const std::vector<std::string> &lines)
{
    m_pdfDialog.setTitle(QStringLiteral("プリンターが見つかりません － PDF ファイルに保存"));
    m_pdfDialog.setFilter(QStringLiteral("PDF(*.pdf)|*.pdf|"));
    m_pdfDialog.setInitDir(QDir::homePath());
    if (!m_pdfDialog.showSave(m_window))
        return; // cancelled: nothing printed, nothing saved
    QString path = m_pdfDialog.fileName();
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    const std::unique_ptr<report::ReportPrinter> pdf = QtReportPrinter::openPdfFile(path);
    if (!report::printReport(lines, *pdf)) {
        QMessageBox::warning(m_window, kPrintTitle,
                             vorla_texts::pdfFailedText(QDir::toNativeSeparators(path)));
        return;
    }
    m_pdfDialog.setFileName(QString());
}
