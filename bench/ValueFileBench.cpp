// How long opening a worst-case value file takes and how much memory it
// needs, through the same steps as the open command: files::readValueFile
// (bounded read, decoding, the line rule, the room in the list), then
// appending to the value list as the main window shows it (ValueListModel
// behind a ValueListView of List1's size).
//
//   vorla_value_file_bench <case> <folder>
//
// Cases, each as large as the open command reads: short-lines ("1" lines: a
// full list, a million lines left out), long-lines (32,767-character lines),
// kanji-lines (Shift JIS lines of 2,000 characters), utf8-kanji-lines (UTF-8
// lines of 2,000 characters that are valid Shift JIS too, so both readings
// are made and judged), one-huge-line (one line of the whole size),
// sparse-gigabytes (3 GiB, never read). Prints the time of readValueFile
// alone (read=), then up to the items appended to the list (listed=), then
// up to the list laid out and painted (time=, which should stay under
// 300 ms for every case), and the peak memory. scripts/bench.sh runs every
// case.

#include "doc/ValueListModel.h"
#include "app/ValueListView.h"
#include "files/ValueFile.h"
#include "files/ValueFileIO.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <sys/resource.h>

#include <cstdio>
#include <string>

namespace {

bool writeCase(const QString &name, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const qint64 cap = files::kMaxValueFileBytes;
    if (name == QLatin1String("sparse-gigabytes"))
        return file.resize(qint64(3) << 30);
    QByteArray line;
    if (name == QLatin1String("short-lines"))
        line = "1\r\n";
    else if (name == QLatin1String("long-lines"))
        line = QByteArray(32767, '7') + "\r\n";
    else if (name == QLatin1String("kanji-lines"))
        line = QByteArray(2000, 'x').replace("x", "\x95\x5C") + "\r\n";
    else if (name == QLatin1String("utf8-kanji-lines")) // 温度, which Shift JIS reads 貂ｩ蠎ｦ
        line = QByteArray(1000, 'x').replace("x", "\xE6\xB8\xA9\xE5\xBA\xA6") + "\r\n";
    else if (name == QLatin1String("one-huge-line"))
        line = QByteArray(cap, '8');
    else
        return false;
    qint64 written = 0;
    while (written + line.size() <= cap)
        written += file.write(line);
    return true;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <case> <folder>\n", argv[0]);
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[1]);
    const QString path = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/bench.txt");
    if (!writeCase(name, path)) {
        std::fprintf(stderr, "cannot write case %s\n", argv[1]);
        return 2;
    }
    ValueListModel values;
    ValueListView list;
    list.setModel(&values);
    list.resize(121, 136);
    list.show();
    QApplication::processEvents();
    const long before = peakKilobytes();

    QElapsedTimer timer;
    timer.start();
    std::size_t appended = 0, leftOut = 0, tooLong = 0;
    const char *outcome = "read";
    auto read = files::readValueFile(path, files::kMaxListItems);
    const qint64 readMs = timer.elapsed();
    if (const auto *failure = std::get_if<files::ReadFailure>(&read)) {
        outcome = "refused";
        tooLong = failure->line;
    } else {
        auto &file = std::get<files::ValueFileItems>(read);
        appended = file.items.size();
        leftOut = file.leftOut;
        values.append(std::move(file.items));
    }
    const qint64 listedMs = timer.elapsed();
    QApplication::processEvents(); // lay out and paint the list
    const qint64 ms = timer.elapsed();
    QFile::remove(path);

    std::printf("%-16s %-7s appended=%zu leftOut=%zu tooLongLine=%zu read=%lld ms listed=%lld ms "
                "time=%lld ms (target < 300 ms: %s) peak=%ld MB (before %ld MB)\n",
                argv[1], outcome, appended, leftOut, tooLong, static_cast<long long>(readMs),
                static_cast<long long>(listedMs), static_cast<long long>(ms),
                ms < 300 ? "met" : "MISSED", peakKilobytes() / 1024, before / 1024);
    return 0;
}
