#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

/// The open and save-as dialogs of every window, with the settings the file
/// commands give them. The chosen path stays in fileName() between commands:
/// the main window's file commands clear it after a success and leave it
/// after a failure, so the next dialog opens with that name filled in.
///
/// The dialogs are Qt's own (not the desktop's), so that they look the same
/// everywhere and tests can drive them. A file chosen for opening must exist;
/// saving over an existing file asks first, as Qt's dialog does.
class FileDialog
{
public:
    /// Filter in the "description|pattern|description|pattern|" form, e.g.
    /// "Text(*.txt)|*.txt|".
    void setFilter(const QString &filter) { m_filter = filter; }
    void setInitDir(const QString &folder) { m_initDir = folder; }
    /// The dialog's title; empty leaves Qt's own.
    void setTitle(const QString &title) { m_title = title; }
    /// The extension (without the dot) a name typed without one is given,
    /// e.g. "txt": "values" -> "values.txt", "values.dat" stays. Empty adds none.
    void setDefaultSuffix(const QString &suffix) { m_defaultSuffix = suffix; }
    /// Makes the default suffix the chosen filter's (its first "*.ext"
    /// pattern), following the user's choice: a name typed without a suffix
    /// gets the type chosen, before the dialog asks about overwriting.
    void setSuffixFollowsFilter(bool follows) { m_suffixFollowsFilter = follows; }
    const QString &fileName() const { return m_fileName; }
    void setFileName(const QString &path) { m_fileName = path; }
    /// The name filter chosen when the dialog was last accepted, as Qt names
    /// it ("PDF (*.pdf)").
    const QString &chosenFilter() const { return m_chosenFilter; }

    /// Shows the open dialog; false when the user cancels.
    bool showOpen(QWidget *parent);
    /// Shows the save-as dialog; false when the user cancels.
    bool showSave(QWidget *parent);

    /// The Qt name filters for a filter in the "description|pattern|" form.
    /// A description that already names its pattern in brackets is kept as it
    /// is; otherwise the pattern is added: "Text|*.txt|" -> "Text (*.txt)".
    /// Patterns separated by ";" are listed with spaces, as Qt reads them.
    static QStringList nameFilters(const QString &filter);
    /// The extension of a Qt name filter's first pattern:
    /// "PDF 文書 (*.pdf)" -> "pdf", "All (*)" -> "".
    static QString filterSuffix(const QString &nameFilter);

private:
    bool show(QWidget *parent, bool save);

    QString m_filter;
    QString m_initDir;
    QString m_title;
    QString m_defaultSuffix;
    bool m_suffixFollowsFilter = false;
    QString m_fileName;
    QString m_chosenFilter;
};

} // namespace ui

// Files of the main window that still name these without the namespace.
using ui::FileDialog;
