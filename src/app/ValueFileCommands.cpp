#include "app/ValueFileCommands.h"

#include "app/VorlaTexts.h"
#include "doc/ValueListDocument.h"
#include "files/ValueFile.h"
#include "files/ValueFileIO.h"
#include "ui/Utf8.h"

#include <QCursor>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

using namespace vorla_texts;

namespace {

// Opening also offers every file, so one saved under a name without ".txt"
// can be found again; saving offers the one type it writes.
const QString kOpenFilter = QStringLiteral("Text(*.txt)|*.txt|すべてのファイル (*)|*|");
const QString kSaveFilter = QStringLiteral("Text(*.txt)|*.txt|");
// What a name typed without an extension is saved as, so that the open
// dialog's first filter shows the file.
const QString kSaveSuffix = QStringLiteral("txt");

/// Shows the busy pointer over a control until the scope ends, however it ends.
class BusyPointer
{
public:
    explicit BusyPointer(QWidget *control) : m_control(control), m_saved(control->cursor())
    {
        m_control->setCursor(Qt::WaitCursor);
    }
    ~BusyPointer() { m_control->setCursor(m_saved); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    QWidget *m_control;
    QCursor m_saved;
};

QStringList listTexts(const ValueListDocument &document)
{
    QStringList texts;
    texts.reserve(document.count());
    for (const std::string &item : document.items())
        texts << ui::fromUtf8(item);
    return texts;
}

} // namespace

ValueFileCommands::ValueFileCommands(QWidget *window, ValueListDocument *document,
                                     QWidget *busyControl)
    : m_window(window), m_document(document), m_busyControl(busyControl)
{
}

void ValueFileCommands::openFromDialog()
{
    m_dialog.setFilter(kOpenFilter);
    m_dialog.setDefaultSuffix(QString());
    m_dialog.setInitDir(QDir::homePath());
    if (!m_dialog.showOpen(m_window))
        return;
    if (openFile(m_dialog.fileName()))
        m_dialog.setFileName(QString());
}

bool ValueFileCommands::openFile(const QString &fileName)
{
    const QString path = QDir::toNativeSeparators(fileName);
    std::variant<files::ValueFileItems, files::ReadFailure> read;
    std::size_t added = 0;
    {
        const BusyPointer busy(m_busyControl);
        read = files::readValueFile(
            fileName, m_document->room(),
            [this, &path](const auto &line) { return askReading(m_window, path, line); },
            files::kMaxValueFileBytes,
            [this, &path](const auto &layout) { return askFileColumn(m_window, path, layout); });
        if (auto *file = std::get_if<files::ValueFileItems>(&read)) {
            added = file->items.size();
            m_document->open(std::move(file->items), path);
        }
    }
    if (const auto *failure = std::get_if<files::ReadFailure>(&read)) {
        if (failure->problem != files::ReadProblem::Cancelled)
            QMessageBox::warning(m_window, kOpenTitle, openFailureText(path, *failure));
        return false;
    }
    if (const std::size_t leftOut = std::get<files::ValueFileItems>(read).leftOut; leftOut > 0)
        QMessageBox::information(m_window, kOpenTitle, leftOutText(path, leftOut, added));
    return true;
}

void ValueFileCommands::openDropped(const QStringList &files)
{
    if (!m_document->openAllowed()) {
        QMessageBox::warning(m_window, kOpenTitle, dropRefusedText());
        return;
    }
    for (const QString &file : files)
        openFile(file);
}

bool ValueFileCommands::save()
{
    // An item Shift JIS cannot hold is told before a name is asked for.
    const auto bytes = files::encodeValueFile(listTexts(*m_document));
    if (const auto *unencodable = std::get_if<files::EncodeFailure>(&bytes)) {
        QMessageBox::warning(m_window, kSaveTitle, unencodableText(*unencodable));
        return false;
    }
    m_dialog.setFilter(kSaveFilter);
    m_dialog.setDefaultSuffix(kSaveSuffix);
    m_dialog.setInitDir(QDir::homePath());
    if (!m_dialog.showSave(m_window))
        return false;
    const QString path = QDir::toNativeSeparators(m_dialog.fileName());
    const auto written = files::writeFileAtomically(path, std::get<QByteArray>(bytes));
    if (written) {
        QMessageBox::warning(m_window, kSaveTitle, saveFailureText(path, *written));
        return false;
    }
    m_document->markSaved(path);
    m_dialog.setFileName(QString());
    return true;
}

bool ValueFileCommands::mayDiscardUnsaved()
{
    if (!m_document->isUnsaved())
        return true;
    QMessageBox box(QMessageBox::Warning, kExitTitle, QStringLiteral("保存されていない値があります。"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_window);
    box.button(QMessageBox::Save)->setText(QStringLiteral("保存"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("保存しない"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save(); // a cancelled or failed save keeps the window open
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}
