#include "ui/FileDialog.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace ui {

QStringList FileDialog::nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts.at(i);
        const QString patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)
                                     .join(QLatin1Char(' '));
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        if (description.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')')))
            filters << description;
        else
            filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

QString FileDialog::filterSuffix(const QString &nameFilter)
{
    static const QRegularExpression firstPattern(QStringLiteral("\\(\\*\\.([^ ;)*?]+)"));
    return firstPattern.match(nameFilter).captured(1);
}

bool FileDialog::showOpen(QWidget *parent)
{
    return show(parent, false);
}

bool FileDialog::showSave(QWidget *parent)
{
    return show(parent, true);
}

bool FileDialog::show(QWidget *parent, bool save)
{
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    if (!m_title.isEmpty())
        dialog.setWindowTitle(m_title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(m_filter));
    // The dialog adds it before it checks for a file to overwrite, so the
    // question names the file that is really written.
    dialog.setDefaultSuffix(m_defaultSuffix);
    if (m_suffixFollowsFilter) {
        const auto follow = [&dialog](const QString &filter) {
            dialog.setDefaultSuffix(filterSuffix(filter));
        };
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
        follow(dialog.selectedNameFilter());
    }
    dialog.setDirectory(m_initDir);
    if (!m_fileName.isEmpty())
        dialog.selectFile(m_fileName); // a full path also opens its folder
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    m_fileName = dialog.selectedFiles().constFirst();
    m_chosenFilter = dialog.selectedNameFilter();
    return true;
}

} // namespace ui
