// The main window as the input-method system test drives it: the real Vorla
// window on the real platform, which writes, whenever it changes, the list's
// items to <folder>/items.txt (one per line, UTF-8) and the entry box's text
// and the input method's composition to <folder>/entry.txt (two lines), so
// the test can wait for each step's outcome instead of guessing a delay.
//
//   vorla_input_method_probe <folder>

#include "app/Vorla.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <functional>

namespace {

void writeLines(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(lines.isEmpty() ? QByteArray() : (lines.join(u'\n') + u'\n').toUtf8());
    file.commit();
}

/// Keeps the latest composition the entry box was shown.
class CompositionWatch : public QObject
{
public:
    using QObject::QObject;
    QString preedit;
    std::function<void()> changed;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::InputMethod) {
            preedit = static_cast<QInputMethodEvent *>(event)->preeditString();
            // Written once the box has taken the event (and any commit in it).
            QMetaObject::invokeMethod(this, [this] { changed(); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: vorla_input_method_probe <folder>\n", stderr);
        return 2;
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    Vorla window(folder);
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *list = window.findChild<QListView *>(QStringLiteral("List1"));
    if (!box || !list)
        return 3;
    QAbstractItemModel *model = list->model();

    const auto writeItems = [&] {
        QStringList items;
        for (int row = 0; row < model->rowCount(); ++row)
            items << model->index(row, 0).data().toString();
        writeLines(folder + QStringLiteral("/items.txt"), items);
    };
    CompositionWatch watch;
    const auto writeEntry = [&] {
        writeLines(folder + QStringLiteral("/entry.txt"), {box->text(), watch.preedit});
    };
    watch.changed = writeEntry;
    box->installEventFilter(&watch);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, writeItems);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, writeItems);
    QObject::connect(model, &QAbstractItemModel::modelReset, writeItems);
    QObject::connect(box, &QLineEdit::textChanged, writeEntry);

    writeItems();
    writeEntry();
    window.show();
    window.activateWindow();
    return app.exec();
}
