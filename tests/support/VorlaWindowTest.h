#pragma once

#include "doc/ValueListModel.h"
#include "app/VorlaNames.h"
#include "app/Vorla.h"
#include "files/ValueFile.h"

#include "ModalAnswerer.h"
#include "TestFiles.h"

#include <QAction>
#include <QByteArray>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

using namespace vorla_names;

/// The most items the value list holds, as an int like the list's row count.
inline constexpr int kMaxItems = static_cast<int>(files::kMaxListItems);

/// The child of `parent` with this object name; a test failure when there is none.
template <typename T = QWidget> T *child(const QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

/// Whether a window's frame is centred on its screen. The frame's decoration
/// is not known before a window is first shown, so centring may be off by
/// half of it.
bool isCentredOnScreen(const QWidget *window);

/// Drags the data over `target` and drops it there with the copy action, as
/// a file manager or an editor does, then lets the events the drop posted
/// run. Returns whether the drag was taken; `dropTaken`, when given, tells
/// whether the drop was.
bool dragAndDrop(const QMimeData &data, QWidget *target, bool *dropTaken = nullptr);

/// Runs the event loop after `act` has run inside it; returns the loop's exit
/// code, or 99 when nothing ended it within five seconds.
int runEventLoopAfter(const std::function<void()> &act);

/// A shown, active main window whose scratch folder ("c:\") is a temporary
/// folder of the test's own.
class VorlaWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    template <typename T = QWidget> T *control(const char *name) const
    {
        return child<T>(m_window.get(), name);
    }
    QAction *action(const char *name) const { return control<QAction>(name); }
    QLineEdit *box(const char *name) const { return control<QLineEdit>(name); }
    QString text(const char *name) const { return box(name)->text(); }
    QListView *list() const { return control<QListView>(kValueList); }
    /// The items List1 shows.
    ValueListModel *values() const { return static_cast<ValueListModel *>(list()->model()); }
    QStringList items() const;
    /// Puts values straight into the list, as a file would.
    void addItems(const QStringList &texts) const;
    void addItem(const QString &text) const { addItems({text}); }

    /// A file in the scratch folder.
    QString path(const QString &name) const { return m_dir.filePath(name); }

    /// Types the value into Text1 and presses Enter.
    void enter(const QString &value);
    /// Enters each value in turn.
    void enterEach(const QStringList &values);
    /// Runs a menu command, answering its file dialogs with these paths in
    /// turn and confirming every message box.
    std::unique_ptr<ModalAnswerer> run(const char *command, std::deque<QString> paths) const
    {
        auto answerer = std::make_unique<ModalAnswerer>(std::vector<QMessageBox::StandardButton>(),
                                                        std::move(paths));
        action(command)->trigger();
        return answerer;
    }
    /// Sets the sigma choice's text and clicks Command1.
    void calculate(const QString &sigma);
    /// The named control that holds the keyboard focus (a combo's own line
    /// edit counts as the combo).
    QString focusedControl() const;

    QTemporaryDir m_dir;
    std::unique_ptr<Vorla> m_window;
};
