#include "chart/ChartRecord.h"

#include "chart/ChartViews.h"
#include "print/PdfPage.h"
#include "ui/DefaultFont.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <map>

namespace chart {

namespace {

// Every length is in points: the device is set to 72 dots per inch.
constexpr qreal kGap = 8;
constexpr qreal kCellPadding = 3;
constexpr qreal kFooter = 16;
constexpr qreal kTitleSize = 15;
// Whole points: the PDF writer sets a text's size to whole device units, so
// 7.5 would be drawn at 8 over a layout measured at 7.5.
constexpr qreal kTextSize = 9;
constexpr qreal kSmallSize = 8; // the smallest text on any page
constexpr qreal kStampWidth = 46;
constexpr qreal kStampHeight = 40;
const QColor kCaption(90, 90, 90);
const QColor kRule(150, 150, 150);

/// The record's font: Latin letters and digits from DejaVu Sans, the rest
/// from the Japanese face. Qt's PDF writer maps some of the Japanese face's
/// digits to no character at all, so a reader copying "127,653" from the
/// file would get ","; DejaVu's map is whole.
QFont fontOf(qreal size, bool bold = false)
{
    QFont font = ui::vorlaDefaultFont();
    font.setFamilies({QStringLiteral("DejaVu Sans"), font.family()});
    font.setPointSizeF(size);
    font.setBold(bold);
    return font;
}

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

/// Lays the record out page by page. Run once without a painter it only
/// counts the pages; run again with one it paints them, each with its
/// number out of that count, over exactly the same layout.
class RecordComposer
{
public:
    RecordComposer(QPagedPaintDevice &device, const RecordInput &record,
                   const ChartsPainter &charts, QPainter *painter, int pageCount)
        : m_device(device), m_record(record), m_charts(charts), m_painter(painter),
          m_pageCount(pageCount)
    {
        const QSizeF page = device.pageLayout().paintRect(QPageLayout::Point).size();
        m_page = QRectF(QPointF(0, 0), page);
    }

    int compose()
    {
        composeFirstPage();
        flowFigures();
        flowSignals();
        flowRows();
        drawFooter();
        return m_pageNumber;
    }

private:
    // ---- measuring and drawing ----

    /// A line's height in the tallest of the font's families: Japanese text
    /// falls back from the Latin face to the taller Japanese one.
    qreal lineHeight(const QFont &font) const
    {
        const int key = keyOf(font);
        if (const auto found = m_lineHeights.find(key); found != m_lineHeights.end())
            return found->second;
        qreal height = 0;
        for (const QString &family : font.families()) {
            QFont face = font;
            face.setFamilies({family});
            height = std::max(height, QFontMetricsF(face, &m_device).height());
        }
        m_lineHeights.emplace(key, height);
        return height;
    }

    /// Where a line's baseline stands below its top: under the tallest of the
    /// families, as lineHeight counts them.
    qreal ascentOf(const QFont &font) const
    {
        FaceWidths &face = facesOf(font);
        if (face.ascent < 0) {
            for (const QString &family : font.families()) {
                QFont one = font;
                one.setFamilies({family});
                face.ascent = std::max(face.ascent, QFontMetricsF(one, &m_device).ascent());
            }
        }
        return face.ascent;
    }

    qreal textHeight(const QFont &font, qreal width, const QString &text) const
    {
        const QFontMetricsF &metrics = facesOf(font).metrics;
        const qreal line = lineHeight(font);
        if (textWidth(font, text) <= width && !text.contains(QLatin1Char('\n')))
            return line;
        const qreal wrapped =
            metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height();
        return std::ceil(wrapped / metrics.height() - 0.01) * line;
    }

    /// The width of a text. The table holds tens of thousands of numbers,
    /// so plain ASCII is added up from each character's advance, measured
    /// once; the Latin face has no kerning between digits and signs.
    qreal textWidth(const QFont &font, const QString &text) const
    {
        FaceWidths &face = facesOf(font);
        qreal width = 0;
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x20 || u >= 0x7F)
                return face.metrics.horizontalAdvance(text);
            qreal &advance = face.advances[u];
            if (advance < 0)
                advance = face.metrics.horizontalAdvance(c);
            width += advance;
        }
        return width;
    }

    struct FaceWidths
    {
        QFontMetricsF metrics;
        std::array<qreal, 128> advances;
        qreal ascent = -1;
    };

    /// The record uses a few sizes of one font, told apart by size and weight
    /// (QFont::key() would write the whole font out on every call).
    static int keyOf(const QFont &font)
    {
        return static_cast<int>(std::lround(font.pointSizeF() * 100)) * 2 + (font.bold() ? 1 : 0);
    }

    FaceWidths &facesOf(const QFont &font) const
    {
        const int key = keyOf(font);
        auto found = m_faces.find(key);
        if (found == m_faces.end()) {
            FaceWidths face{QFontMetricsF(font, &m_device), {}, -1};
            face.advances.fill(-1);
            found = m_faces.emplace(key, std::move(face)).first;
        }
        return found->second;
    }

    void text(const QRectF &box, const QFont &font, const QString &text, int flags = Qt::AlignLeft,
              const QColor &colour = Qt::black) const
    {
        if (!m_painter || text.isEmpty())
            return;
        m_painter->setFont(font);
        m_painter->setPen(colour);
        // A text that fits on one line is set at its baseline: no layout.
        const qreal width = textWidth(font, text);
        if (width <= box.width() && !text.contains(QLatin1Char('\n'))) {
            const qreal x = (flags & Qt::AlignRight)     ? box.right() - width
                            : (flags & Qt::AlignHCenter) ? box.center().x() - width / 2
                                                         : box.left();
            m_painter->drawText(QPointF(x, box.top() + ascentOf(font)), text);
            return;
        }
        m_painter->drawText(box, flags | Qt::AlignTop | Qt::TextWordWrap | Qt::TextDontClip, text);
    }

    void frame(const QRectF &box) const
    {
        if (!m_painter)
            return;
        m_painter->setPen(QPen(kRule, 0.5));
        m_painter->setBrush(Qt::NoBrush);
        m_painter->drawRect(box);
    }

    // ---- pages and the columns text flows through ----

    qreal bodyBottom() const { return m_page.bottom() - kFooter; }

    void drawFooter() const
    {
        text(QRectF(m_page.left(), m_page.bottom() - kFooter + 4, m_page.width(), kFooter),
             fontOf(kTextSize),
             QStringLiteral("%1 / %2").arg(m_pageNumber).arg(std::max(m_pageCount, m_pageNumber)),
             Qt::AlignHCenter);
        text(QRectF(m_page.left(), m_page.bottom() - kFooter + 4, m_page.width() / 3, kFooter),
             fontOf(kSmallSize), fromUtf8(m_record.title), Qt::AlignLeft, kCaption);
    }

    void newPage()
    {
        drawFooter();
        if (m_painter)
            m_device.newPage();
        ++m_pageNumber;
        const QFont font = fontOf(kTextSize, true);
        const QString heading = fromUtf8(m_record.title) + QStringLiteral("（続き）　") +
                                fromUtf8(m_record.source);
        const qreal height = textHeight(font, m_page.width(), heading);
        text(QRectF(m_page.left(), m_page.top(), m_page.width(), height), font, heading);
        m_regionTop = m_page.top() + height + kGap;
        m_pageBottom = m_regionTop;
        layColumns();
    }

    /// Splits the rest of the page into as many columns of m_columnWidth as
    /// fit, from m_regionTop down; the flow starts in the first.
    void layColumns()
    {
        m_columns.clear();
        const int count = std::max(
            1, static_cast<int>((m_page.width() + kGap) / (m_columnWidth + kGap)));
        const qreal width = count == 1 ? std::min(m_columnWidth, m_page.width()) : m_columnWidth;
        for (int i = 0; i < count; ++i)
            m_columns.push_back(QRectF(m_page.left() + i * (m_columnWidth + kGap), m_regionTop,
                                       width, bodyBottom() - m_regionTop));
        m_column = 0;
        m_y = m_regionTop;
    }

    /// Moves the flow to columns of a new width: below what this page holds
    /// so far, or on a new page when too little room is left.
    void startFlow(qreal columnWidth, qreal least)
    {
        m_columnWidth = columnWidth;
        const qreal used = std::max(m_pageBottom, m_y);
        if (m_pageNumber == 1 && columnWidth <= m_columns.front().width() &&
            m_y + least <= bodyBottom())
            return; // still room in the first page's column
        if (m_pageNumber > 1 && used + kGap + least <= bodyBottom()) {
            m_regionTop = used + kGap;
            layColumns();
            return;
        }
        newPage();
    }

    /// The place for a block of this height in the flow, in the next column
    /// or on the next page when the current one is full.
    QRectF take(qreal height)
    {
        if (m_y + height > m_columns[m_column].bottom() && m_y > m_columns[m_column].top()) {
            if (m_column + 1 < m_columns.size()) {
                ++m_column;
                m_y = m_columns[m_column].top();
            } else {
                newPage();
            }
            m_columnChanged = true;
        }
        const QRectF place(m_columns[m_column].left(), m_y, m_columns[m_column].width(), height);
        m_y += height;
        m_pageBottom = std::max(m_pageBottom, m_y);
        return place;
    }

    // ---- the first page ----

    void composeFirstPage()
    {
        const qreal stampsLeft = m_page.right() - 3 * kStampWidth;
        const QFont title = fontOf(kTitleSize, true);
        const qreal titleHeight = textHeight(title, stampsLeft - kGap, fromUtf8(m_record.title));
        text(QRectF(m_page.left(), m_page.top(), stampsLeft - kGap, titleHeight), title,
             fromUtf8(m_record.title));
        const qreal stampsBottom = composeStamps(stampsLeft);
        qreal y = composeHeader(m_page.top() + titleHeight + 4, stampsLeft - kGap);
        const QFont font = fontOf(kTextSize);
        const QString source = fromUtf8(m_record.source) + QStringLiteral("　　") +
                               fromUtf8(m_record.printedAt);
        const qreal sourceHeight = textHeight(font, stampsLeft - kGap, source);
        text(QRectF(m_page.left(), y + 2, stampsLeft - kGap, sourceHeight), font, source);
        y = std::max(y + 2 + sourceHeight, stampsBottom) + kGap;

        const qreal chartsWidth = std::round(m_page.width() * 0.6);
        composeCharts(QRectF(m_page.left(), y, chartsWidth, bodyBottom() - y));
        m_columnWidth = m_page.width() - chartsWidth - kGap;
        m_columns = {QRectF(m_page.left() + chartsWidth + kGap, y, m_columnWidth, bodyBottom() - y)};
        m_y = y;
        m_regionTop = y;
    }

    /// 作成・確認・承認, as a binder sheet has them; returns their bottom.
    qreal composeStamps(qreal left) const
    {
        const QFont font = fontOf(kSmallSize);
        const qreal captionHeight = textHeight(font, kStampWidth, QStringLiteral("承認")) + 2;
        int i = 0;
        for (const QString &caption :
             {QStringLiteral("作成"), QStringLiteral("確認"), QStringLiteral("承認")}) {
            const qreal x = left + i++ * kStampWidth;
            frame(QRectF(x, m_page.top(), kStampWidth, captionHeight));
            frame(QRectF(x, m_page.top() + captionHeight, kStampWidth, kStampHeight));
            text(QRectF(x, m_page.top() + 1, kStampWidth, captionHeight), font, caption,
                 Qt::AlignHCenter);
        }
        return m_page.top() + captionHeight + kStampHeight;
    }

    /// The header's fields in cells, five to a row, a caption over each
    /// value; returns the grid's bottom.
    qreal composeHeader(qreal top, qreal width) const
    {
        constexpr int kPerRow = 5;
        const QFont captionFont = fontOf(kSmallSize);
        const QFont valueFont = fontOf(kTextSize);
        const qreal cellWidth = width / kPerRow;
        const qreal inner = cellWidth - 2 * kCellPadding;
        const std::vector<RecordField> &fields = m_record.header;
        qreal y = top;
        for (std::size_t first = 0; first < fields.size(); first += kPerRow) {
            const std::size_t last = std::min(fields.size(), first + kPerRow);
            qreal height = 0;
            for (std::size_t i = first; i < last; ++i)
                height = std::max(height, textHeight(captionFont, inner, fromUtf8(fields[i].caption)) +
                                              textHeight(valueFont, inner,
                                                         fromUtf8(fields[i].value.empty()
                                                                      ? std::string(" ")
                                                                      : fields[i].value)));
            height += 2 * kCellPadding;
            for (std::size_t i = first; i < last; ++i) {
                const QRectF cell(m_page.left() + (i - first) * cellWidth, y, cellWidth, height);
                frame(cell);
                const QRectF inside = cell.adjusted(kCellPadding, kCellPadding, -kCellPadding, 0);
                const QString caption = fromUtf8(fields[i].caption);
                text(inside, captionFont, caption, Qt::AlignLeft, kCaption);
                text(inside.adjusted(0, textHeight(captionFont, inner, caption), 0, 0), valueFont,
                     fromUtf8(fields[i].value));
            }
            y += height;
        }
        return y;
    }

    /// The charts in their area, in the record's small text.
    void composeCharts(const QRectF &area) const
    {
        if (!m_painter || !m_charts)
            return;
        m_painter->save();
        m_painter->setFont(fontOf(kSmallSize));
        m_charts(*m_painter, area.toAlignedRect().intersected(area.toRect()));
        m_painter->restore();
    }

    // ---- what flows: the figures, the notes, the signals, the rows ----

    void flowHeading(const QString &heading)
    {
        const QFont font = fontOf(kTextSize, true);
        const qreal height = textHeight(font, m_columns[m_column].width(), heading) + 2;
        text(take(height + 2).adjusted(0, 2, 0, 0), font, heading);
    }

    void flowFigures()
    {
        const QFont captionFont = fontOf(kSmallSize);
        const QFont valueFont = fontOf(kTextSize);
        for (const RecordField &figure : m_record.figures) {
            const qreal width = m_columns[m_column].width();
            const QString caption = fromUtf8(figure.caption);
            const QString value = fromUtf8(figure.value);
            const qreal captionWidth = std::min(width * 0.45, textWidth(captionFont, caption) + 1);
            const qreal valueWidth = width - captionWidth - kGap;
            const qreal height = std::max(textHeight(captionFont, captionWidth, caption),
                                          textHeight(valueFont, valueWidth, value)) + 1;
            const QRectF row = take(height);
            text(QRectF(row.left(), row.top() + 0.5, captionWidth, height), captionFont, caption,
                 Qt::AlignLeft, kCaption);
            text(QRectF(row.right() - valueWidth, row.top(), valueWidth, height), valueFont, value,
                 Qt::AlignRight);
        }
        const QFont noteFont = fontOf(kSmallSize);
        for (const std::string &note : m_record.notes) {
            const QString line = fromUtf8(note);
            const QRectF place = take(textHeight(noteFont, m_columns[m_column].width(), line) + 2);
            text(place.adjusted(0, 2, 0, 0), noteFont, line, Qt::AlignLeft, kCaption);
        }
    }

    void flowSignals()
    {
        if (m_record.signalLines.empty())
            return;
        const QFont font = fontOf(kTextSize);
        qreal widest = 0;
        for (const std::string &line : m_record.signalLines)
            widest = std::max(widest, textWidth(font, fromUtf8(line)));
        // On continuation pages the signals stand in as many columns as their
        // longest line allows, up to the page's width.
        startFlow(std::min(m_page.width(), std::max(widest + kGap, m_page.width() / 3 - kGap)),
                  textHeight(font, widest, QStringLiteral("0")) * 3);
        flowHeading(QStringLiteral("異常の判定 (%1 件)").arg(m_record.signalLines.size()));
        for (const std::string &signal : m_record.signalLines) {
            const QString line = fromUtf8(signal);
            const QRectF place = take(textHeight(font, m_columns[m_column].width(), line));
            text(place, font, line);
        }
    }

    /// The table's columns: heads and widths, each as wide as its widest text.
    struct Column
    {
        QString head;
        qreal width = 0;
        bool right = true;
    };

    std::vector<Column> tableColumns(const QFont &font) const
    {
        const RecordColumns &heads = m_record.columns;
        std::vector<Column> columns;
        const auto add = [&](const std::string &head, auto cell, bool right, bool always) {
            qreal width = textWidth(font, fromUtf8(head));
            bool any = always;
            for (const RecordRow &row : m_record.rows) {
                const std::string &text = cell(row);
                any = any || !text.empty();
                width = std::max(width, textWidth(font, fromUtf8(text)));
            }
            // Notes and reasons wrap past a third of the page.
            width = std::min(width, m_page.width() / 3);
            // A point of slack: the painter's layout may round a text wider
            // than the metrics measured it.
            if (!head.empty() && any)
                columns.push_back({fromUtf8(head), width + 1 + 2 * kCellPadding, right});
            else
                columns.push_back({QString(), 0, right});
        };
        add(heads.number, [](const RecordRow &r) -> const std::string & { return r.number; }, true, true);
        add(heads.point, [](const RecordRow &r) -> const std::string & { return r.point; }, true, true);
        add(heads.label, [](const RecordRow &r) -> const std::string & { return r.label; }, false, false);
        for (std::size_t i = 0; i < heads.values.size(); ++i)
            add(heads.values[i],
                [i](const RecordRow &r) -> const std::string & {
                    static const std::string none;
                    return i < r.values.size() ? r.values[i] : none;
                },
                true, true);
        add(heads.mean, [](const RecordRow &r) -> const std::string & { return r.mean; }, true, true);
        add(heads.spread, [](const RecordRow &r) -> const std::string & { return r.spread; }, true, true);
        add(heads.note, [](const RecordRow &r) -> const std::string & { return r.note; }, false, false);
        add(heads.exclusion, [](const RecordRow &r) -> const std::string & { return r.exclusion; }, false, false);
        return columns;
    }

    static std::vector<QString> cells(const RecordRow &row, std::size_t valueCount)
    {
        std::vector<QString> cells{fromUtf8(row.number), fromUtf8(row.point), fromUtf8(row.label)};
        for (std::size_t i = 0; i < valueCount; ++i)
            cells.push_back(i < row.values.size() ? fromUtf8(row.values[i]) : QString());
        for (const std::string *text : {&row.mean, &row.spread, &row.note, &row.exclusion})
            cells.push_back(fromUtf8(*text));
        return cells;
    }

    /// A row of cells; a cell that fits on one line is set at its baseline,
    /// which spares the painter a layout per cell. The cells of plain ASCII
    /// (numbers, mostly) go out as one run of glyphs for the whole row: a
    /// table of tens of thousands of rows would otherwise spend most of its
    /// time shaping each number and writing each as a text of its own.
    void drawTableRow(const QRectF &place, const std::vector<Column> &columns,
                      const std::vector<QString> &texts, const QFont &font) const
    {
        if (!m_painter)
            return;
        m_painter->setFont(font);
        m_painter->setPen(Qt::black);
        const qreal baseline = place.top() + ascentOf(font);
        AsciiGlyphs &ascii = asciiGlyphsOf(font);
        QList<quint32> glyphs;
        QList<QPointF> positions;
        qreal x = place.left();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].width <= 0)
                continue;
            const qreal room = columns[i].width - 2 * kCellPadding;
            const QString &cell = texts[i];
            const qreal width = cell.isEmpty() ? 0 : textWidth(font, cell);
            const qreal left = x + kCellPadding + (columns[i].right ? room - width : 0);
            if (width > room)
                text(QRectF(x + kCellPadding, place.top(), room, place.height()), font, cell,
                     columns[i].right ? Qt::AlignRight : Qt::AlignLeft);
            else if (width > 0 && ascii.usable && isPrintableAscii(cell))
                addGlyphs(ascii, cell, columns[i].right, QPointF(left, baseline),
                          QPointF(x + kCellPadding + room, baseline), glyphs, positions);
            else if (width > 0)
                m_painter->drawText(QPointF(left, baseline), cell);
            x += columns[i].width;
        }
        if (glyphs.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(ascii.raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        m_painter->drawGlyphRun(QPointF(0, 0), run);
    }

    /// The Latin face's glyphs and advances for the printable ASCII
    /// characters, at the size the device sets the font.
    struct AsciiGlyphs
    {
        QRawFont raw;
        std::array<quint32, 128> glyphs{};
        std::array<qreal, 128> advances{};
        bool usable = false;
    };

    static bool isPrintableAscii(const QString &text)
    {
        return std::all_of(text.begin(), text.end(),
                           [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
    }

    AsciiGlyphs &asciiGlyphsOf(const QFont &font) const
    {
        const int key = keyOf(font);
        auto found = m_asciiGlyphs.find(key);
        if (found != m_asciiGlyphs.end())
            return found->second;
        AsciiGlyphs ascii;
        QFont latin = font;
        latin.setFamilies({font.families().value(0)});
        ascii.raw = QRawFont::fromFont(latin);
        // One device unit is one point.
        ascii.raw.setPixelSize(font.pointSizeF());
        QString characters;
        for (char16_t c = 0x20; c < 0x7F; ++c)
            characters += QChar(c);
        const QList<quint32> indexes = ascii.raw.glyphIndexesForString(characters);
        const QList<QPointF> advances = ascii.raw.advancesForGlyphIndexes(indexes);
        ascii.usable = ascii.raw.isValid() && indexes.size() == characters.size() &&
                       std::none_of(indexes.begin(), indexes.end(), [](quint32 g) { return g == 0; });
        for (qsizetype i = 0; ascii.usable && i < indexes.size(); ++i) {
            ascii.glyphs[0x20 + i] = indexes[i];
            ascii.advances[0x20 + i] = advances[i].x();
        }
        return m_asciiGlyphs.emplace(key, std::move(ascii)).first->second;
    }

    /// A cell's glyphs from `left`, or ending at `right` when right-aligned,
    /// by the run's own advances.
    static void addGlyphs(const AsciiGlyphs &ascii, const QString &cell, bool alignRight,
                          QPointF left, QPointF right, QList<quint32> &glyphs,
                          QList<QPointF> &positions)
    {
        QPointF at = left;
        if (alignRight) {
            qreal width = 0;
            for (const QChar c : cell)
                width += ascii.advances[c.unicode()];
            at = right - QPointF(width, 0);
        }
        for (const QChar c : cell) {
            glyphs.push_back(ascii.glyphs[c.unicode()]);
            positions.push_back(at);
            at.rx() += ascii.advances[c.unicode()];
        }
    }

    qreal rowHeight(const std::vector<Column> &columns, const std::vector<QString> &texts,
                    const QFont &font, qreal lineHeight) const
    {
        qreal height = lineHeight;
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i].width > 0 &&
                textWidth(font, texts[i]) > columns[i].width - 1 - 2 * kCellPadding)
                height = std::max(height,
                                  textHeight(font, columns[i].width - 2 * kCellPadding, texts[i]));
        return height + 1;
    }

    void flowRows()
    {
        if (m_record.rows.empty())
            return;
        const QFont font = fontOf(kSmallSize);
        const QFont headFont = fontOf(kSmallSize, true);
        const std::vector<Column> columns = tableColumns(font);
        qreal bandWidth = 0;
        std::vector<QString> heads;
        for (const Column &column : columns) {
            bandWidth += column.width;
            heads.push_back(column.head);
        }
        const qreal rowLine = lineHeight(font);
        startFlow(std::min(bandWidth, m_page.width()), 4 * rowLine);
        flowHeading(QStringLiteral("データ (%1 行)").arg(m_record.rows.size()));
        const std::size_t valueCount = m_record.columns.values.size();
        m_columnChanged = true;
        std::size_t phase = 0;
        for (std::size_t r = 0; r < m_record.rows.size(); ++r) {
            const std::vector<QString> texts = cells(m_record.rows[r], valueCount);
            const qreal height = rowHeight(columns, texts, font, rowLine);
            // A phase's name stands over its first row.
            if (phase < m_record.phases.size() && m_record.phases[phase].firstRow == r)
                flowHeading(fromUtf8(m_record.phases[phase++].name));
            QRectF place = take(height);
            if (m_columnChanged) { // the heads over each column of rows
                m_columnChanged = false;
                m_y = place.top();
                const QRectF headPlace = take(rowLine + 1);
                drawTableRow(headPlace, columns, heads, headFont);
                if (m_painter) {
                    m_painter->setPen(QPen(kRule, 0.5));
                    m_painter->drawLine(headPlace.bottomLeft(),
                                        headPlace.bottomLeft() + QPointF(bandWidth, 0));
                }
                place = take(height);
                m_columnChanged = false;
            }
            drawTableRow(place, columns, texts, font);
        }
    }

    QPagedPaintDevice &m_device;
    const RecordInput &m_record;
    const ChartsPainter &m_charts;
    QPainter *m_painter;
    int m_pageCount;
    int m_pageNumber = 1;
    QRectF m_page;
    std::vector<QRectF> m_columns;
    std::size_t m_column = 0;
    qreal m_columnWidth = 0;
    qreal m_regionTop = 0;
    qreal m_pageBottom = 0; // the lowest text on a continuation page so far
    qreal m_y = 0;
    bool m_columnChanged = false;
    mutable std::map<int, FaceWidths> m_faces;
    mutable std::map<int, qreal> m_lineHeights;
    mutable std::map<int, AsciiGlyphs> m_asciiGlyphs;
};

/// The list's charts: the control chart's two, or the run chart over the
/// histogram.
ChartsPainter listCharts(const stats::ChartContent *content, const QString &title)
{
    return [content, title](QPainter &painter, const QRect &whole) {
        const QRect top(whole.topLeft(), QSize(whole.width(), whole.height() * 11 / 20));
        const QRect bottom(QPoint(whole.left(), top.bottom() + 1 + int(kGap)), whole.bottomRight());
        if (!content) {
            drawEmptyChart(painter, top, runChartTitle(), emptyChartText());
        } else if (const stats::ControlChart *chart = content->controlChart()) {
            const std::vector<std::string> location = signalMarks(chart->location, 1);
            const std::vector<std::string> spread =
                signalMarks(chart->spread, chart->location.causes.size() + 1);
            paintControlSeries(painter, top, chart->location, content->toleranceLines, &location);
            paintControlSeries(painter, bottom, chart->spread, {}, &spread);
        } else {
            if (const stats::NoControlChart *refusal = content->refusal())
                drawEmptyChart(painter, top, title, fromUtf8(refusal->reason));
            else
                paintRunChart(painter, top, content->data);
            paintHistogram(painter, bottom, *content);
        }
    };
}

void setUpA4(QPagedPaintDevice &device, QPageLayout::Orientation orientation)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(orientation);
    device.setPageMargins(QMarginsF(28, 28, 28, 24), QPageLayout::Point);
}

} // namespace

QString recordTitle()
{
    return QStringLiteral("グラフの記録");
}

int paintRecordPages(QPagedPaintDevice &device, const RecordInput &record,
                     const ChartsPainter &charts)
{
    const int pages = RecordComposer(device, record, charts, nullptr, 0).compose();
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    // The painter's origin is the printable area's top left, one unit a point.
    RecordComposer(device, record, charts, &painter, pages).compose();
    painter.end();
    return pages;
}

int paintRecordPages(QPagedPaintDevice &device, const RecordInput &record,
                     const stats::ChartContent *content)
{
    return paintRecordPages(device, record, listCharts(content, fromUtf8(record.title)));
}

QString printRecord(QPrinter &printer, const RecordInput &record, const ChartsPainter &charts,
                    QPageLayout::Orientation orientation)
{
    printer.setDocName(recordTitle());
    printer.setResolution(72);
    setUpA4(printer, orientation);
    if (paintRecordPages(printer, record, charts) == 0)
        return QStringLiteral("プリンターに送れませんでした。");
    return QString();
}

QString printRecord(QPrinter &printer, const stats::ChartContent *content,
                    const RecordSource &source, QPageLayout::Orientation orientation)
{
    const RecordInput record = listRecord(content, source);
    return printRecord(printer, record, listCharts(content, fromUtf8(record.title)), orientation);
}

QString saveRecordPdf(const QString &path, const RecordInput &record, const ChartsPainter &charts,
                      QPageLayout::Orientation orientation)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    {
        QPdfWriter pdf(&file);
        print::setUpPdfPage(pdf, {.size = QPageSize(QPageSize::A4),
                                  .resolution = 72,
                                  .title = recordTitle(),
                                  .creator = QStringLiteral("Vorla"),
                                  .margins = std::nullopt});
        setUpA4(pdf, orientation);
        if (paintRecordPages(pdf, record, charts) == 0)
            return QStringLiteral("PDF を書き出せませんでした。");
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

QString saveRecordPdf(const QString &path, const stats::ChartContent *content,
                      const RecordSource &source, QPageLayout::Orientation orientation)
{
    const RecordInput record = listRecord(content, source);
    return saveRecordPdf(path, record, listCharts(content, fromUtf8(record.title)), orientation);
}

} // namespace chart
