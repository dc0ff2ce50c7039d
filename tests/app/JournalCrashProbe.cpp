// The program as the kill test drives it: the main window started as the
// program starts it (startMainWindow, with its restore question answered by
// Enter, as a user who trusts the default would), then driven through its
// own controls by commands on standard input, one per line:
//
//   type TEXT | paste A|B|... (lines of one column) | remove ROW |
//   correct ROW TEXT |
//   insert ROW TEXT | undo | redo | clear
//
// Before each command it prints "begin", after it "ok<TAB>item<TAB>item...":
// the list as the window shows it once the command is through. At start it
// prints "start<TAB>item..." after the restore question, if any.
//
//   vorla_journal_crash_probe <data folder> <scratch folder>

#include "app/Startup.h"
#include "app/Vorla.h"
#include "doc/ValueListDocument.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#ifdef _WIN32
#include <thread>
#else
#include <unistd.h>
#endif

namespace {

void printList(const char *tag, const Vorla &window)
{
    std::string line = tag;
    for (const std::string &item : window.document()->items())
        line += '\t' + item;
    std::cout << line << std::endl; // flushed: the test reads it at once
}

// The restore question, answered as a user pressing Enter.
void answerQuestionsWithEnter()
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            QTest::keyClick(box, Qt::Key_Return);
    });
    timer->start(5);
}

QListView *selectRow(Vorla &window, int row)
{
    auto *list = window.findChild<QListView *>(QStringLiteral("List1"));
    list->setFocus();
    list->setCurrentIndex(list->model()->index(row, 0));
    return list;
}

void typeInto(QWidget *box, const QString &text)
{
    // Key by key, each with its character, as a keyboard (or an input method
    // committing one character at a time) types it; QTest's own key names
    // cover ASCII only.
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QTest::keyClick(box, Qt::Key_Return);
    // The list's editor is closed, and its text taken, in a queued call.
    QCoreApplication::processEvents();
}

void editRow(Vorla &window, int row, const QString &text, const char *action)
{
    selectRow(window, row);
    window.findChild<QAction *>(QLatin1String(action))->trigger();
    // A closed editor goes only when its deletion is run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (auto *editor = window.findChild<QLineEdit *>(QStringLiteral("valueEditor")))
        typeInto(editor, text);
}

void run(Vorla &window, const QString &line)
{
    auto *entry = window.findChild<QLineEdit *>(QStringLiteral("Text1"));
    const QString command = line.section(u' ', 0, 0);
    const QString rest = line.section(u' ', 1);
    const int row = rest.section(u' ', 0, 0).toInt();
    const bool inList = row >= 0 && row < window.document()->count();
    if (command == u"type") {
        entry->setFocus();
        typeInto(entry, rest);
    } else if (command == u"paste") {
        QApplication::clipboard()->setText(QString(rest).replace(u'|', u'\n'));
        entry->setFocus();
        QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);
    } else if (command == u"remove" && inList) {
        QTest::keyClick(selectRow(window, row), Qt::Key_Delete);
    } else if (command == u"correct" && inList) {
        editRow(window, row, rest.section(u' ', 1), "mnuCorrect");
    } else if (command == u"insert" && inList) {
        editRow(window, row, rest.section(u' ', 1), "mnuInsert");
    } else if (command == u"undo" || command == u"redo") {
        entry->setFocus();
        QTest::keyClick(entry, command == u"undo" ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
    } else if (command == u"clear") {
        window.findChild<QAction *>(QStringLiteral("v11"))->trigger();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: vorla_journal_crash_probe <data folder> <scratch folder>\n", stderr);
        return 2;
    }
#ifndef _WIN32
    // (Windows draws with its own platform, the one a Windows Qt has.)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    answerQuestionsWithEnter();
    const std::unique_ptr<Vorla> window =
        startMainWindow(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[1]));
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window.get()); // goes on whether or not the platform reports it
    printList("start", *window);

    const auto runLine = [&window](const std::string &line) {
        std::cout << "begin" << std::endl;
        run(*window, QString::fromStdString(line));
        printList("ok", *window);
    };
#ifdef _WIN32
    // Windows has no notifier for a pipe: a thread reads the commands and
    // hands each line to the event loop.
    std::thread([&app, runLine] {
        std::string line;
        while (std::getline(std::cin, line))
            QMetaObject::invokeMethod(&app, [runLine, line] { runLine(line); }, Qt::QueuedConnection);
    }).detach();
#else
    QSocketNotifier input(0, QSocketNotifier::Read);
    std::string pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t got = ::read(0, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);
            return;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            runLine(line);
        }
    });
#endif
    return app.exec();
}
