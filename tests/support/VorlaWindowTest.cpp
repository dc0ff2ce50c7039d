#include "VorlaWindowTest.h"
#include "app/VorlaNames.h"

#include "doc/JournalFile.h"
#include "doc/JournalRecovery.h"
#include "doc/ValueListDocument.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace vorla_names;

bool isCentredOnScreen(const QWidget *window)
{
    constexpr int kDecorationSlack = 8;
    const QPoint offset = window->frameGeometry().center() - window->screen()->geometry().center();
    return std::abs(offset.x()) <= kDecorationSlack && std::abs(offset.y()) <= kDecorationSlack;
}

bool dragAndDrop(const QMimeData &data, QWidget *target, bool *dropTaken)
{
    const QPointF at = QRectF(target->rect()).center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    if (dropTaken != nullptr)
        *dropTaken = drop.isAccepted();
    QCoreApplication::processEvents();
    return true;
}

int runEventLoopAfter(const std::function<void()> &act)
{
    QTimer::singleShot(0, act);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    return QApplication::exec();
}

void VorlaWindowTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_window = std::make_unique<Vorla>(m_dir.path());
    // Every window test journals its changes, as the program does.
    m_window->document()->setJournal(JournalFile::atPath(recovery::newJournalPath(m_dir.path())));
    m_window->show();
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
}

void VorlaWindowTest::TearDown()
{
    m_window.reset();
    // Windows that closed themselves go only when their deletion is run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList VorlaWindowTest::items() const
{
    QStringList out;
    for (const std::string &item : values()->items())
        out << QString::fromStdString(item);
    return out;
}

void VorlaWindowTest::addItems(const QStringList &texts) const
{
    std::vector<std::string> utf8;
    for (const QString &text : texts)
        utf8.push_back(text.toStdString());
    values()->append(std::move(utf8));
}

void VorlaWindowTest::enter(const QString &value)
{
    QLineEdit *entry = box(kEntryBox);
    entry->setFocus();
    QTest::keyClicks(entry, value);
    QTest::keyClick(entry, Qt::Key_Return);
}

void VorlaWindowTest::enterEach(const QStringList &values)
{
    for (const QString &value : values)
        enter(value);
}

void VorlaWindowTest::calculate(const QString &sigma)
{
    control<QComboBox>(kSigmaChoice)->setEditText(sigma);
    QTest::mouseClick(control<QPushButton>(kCalculateButton), Qt::LeftButton);
}

QString VorlaWindowTest::focusedControl() const
{
    for (QWidget *w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            return w->objectName();
    return QString();
}
