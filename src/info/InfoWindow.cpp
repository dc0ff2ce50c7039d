#include "info/InfoWindow.h"

#include "ui/DefaultFont.h"
#include "ui/FitText.h"
#include "ui/FocusOnActivation.h"
#include "ui/WindowGeometry.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

namespace {

/// The title's Mincho face: "ＭＳ 明朝" where Windows fonts are installed,
/// otherwise the first Japanese serif face found. The full-width title needs
/// Japanese glyphs, so a face without them is never taken; with no Mincho at
/// all the title keeps the window's Japanese default face.
QString titleFamily()
{
    const QStringList candidates = {
        QStringLiteral("ＭＳ 明朝"),         QStringLiteral("MS Mincho"),
        QStringLiteral("Noto Serif CJK JP"), QStringLiteral("Source Han Serif JP"),
        QStringLiteral("IPAexMincho"),       QStringLiteral("IPAMincho"),
        QStringLiteral("TakaoMincho"),       QStringLiteral("Hiragino Mincho ProN"),
        QStringLiteral("Yu Mincho"),
    };
    for (const QString &family : candidates) {
        if (QFontDatabase::hasFamily(family)
            && QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese))
            return family;
    }
    return ui::vorlaDefaultFont().family();
}

QFont titleFont()
{
    QFont font(titleFamily(), 12, QFont::Normal, false);
    font.setStyleHint(QFont::Serif);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

/// Places a one-line label so that its letters stand centred on `box`
/// without being cut off. The Mincho faces found outside Windows draw taller
/// than the box was laid out for (Noto Serif CJK's ink is 18 pixels at
/// 12 points, the box 17), and a label clips at its edges; so the label
/// grows to the face's line height and moves up by as much as its letters
/// need. With a face that fits, it keeps the box.
void placeOverBox(QLabel *label, const QRect &box)
{
    const QFontMetrics metrics(label->font());
    const QRect ink = metrics.tightBoundingRect(label->text());
    if (metrics.height() <= box.height() && ink.height() <= box.height()) {
        label->setGeometry(box);
        return;
    }
    // With top alignment the baseline lies `ascent` below the label's top.
    const int top = box.center().y() - metrics.ascent() - ink.center().y();
    label->setGeometry(box.left(), top, box.width(), metrics.height());
}

} // namespace

InfoWindow::InfoWindow(QWidget *parent)
    // A fixed-size window: a title bar with the caption and a close button,
    // nothing to maximise.
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window alone decides when the program ends: closing it through
    // its frame quits even while this window is still open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Telvane"));
    setFont(ui::vorlaDefaultFont());
    setFixedSize(ui::px(3375), ui::px(2940));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 192));
    setPalette(palette);
    createControls();
    ui::centreOnScreen(*this);
    showUsage();
}

InfoWindow::~InfoWindow() = default;

void InfoWindow::createControls()
{
    createTitle();
    createUsage();
    createCloseButton();
    new ui::FocusOnActivation(this, m_closeButton);
}

void InfoWindow::createTitle()
{
    m_titleLabel = new QLabel(QStringLiteral("Ｐｅｌｌａｒｙ"), this);
    m_titleLabel->setObjectName(QStringLiteral("Label2"));
    m_titleLabel->setFont(titleFont());
    QPalette blue = m_titleLabel->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_titleLabel->setPalette(blue);
    m_titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeOverBox(m_titleLabel, QRect(ui::px(120), ui::px(120), ui::px(1935), ui::px(255)));
}

void InfoWindow::createUsage()
{
    m_usageLabel = new QLabel(this);
    m_usageLabel->setObjectName(QStringLiteral("Label3"));
    m_usageLabel->setGeometry(ui::px(120), ui::px(360), ui::px(3135), ui::px(2055));
    m_usageLabel->setTextFormat(Qt::PlainText);
    m_usageLabel->setWordWrap(true);
    m_usageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void InfoWindow::createCloseButton()
{
    m_closeButton = new QPushButton(QStringLiteral("close"), this);
    m_closeButton->setObjectName(QStringLiteral("Command1"));
    m_closeButton->setGeometry(ui::px(2400), ui::px(2520), ui::px(855), ui::px(255));
    // Outside a dialog a push button ignores Enter unless told otherwise;
    // with the focus on it, Enter closes the window just as Space does.
    m_closeButton->setAutoDefault(true);
    m_closeButton->setDefault(true);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void InfoWindow::showUsage()
{
    const QStringList usage = {
        QStringLiteral("数値を入力してEnterを押してください。"),
        QStringLiteral("入力が終わったら演算開始ボタンをクリックしてください。"),
        QStringLiteral("データはテキスト形式で保存可能です。"),
        QStringLiteral("入力を誤ったときは、そのデータをダブルクリックしてください。"),
        QStringLiteral("標準偏差などは分母ｎで計算しています。"),
        QStringLiteral("計算結果は少数第４位まで表示します。"),
    };
    m_usageLabel->setText(usage.join(QStringLiteral("\r\n")));
    ui::shrinkToHeight(m_usageLabel);
}
