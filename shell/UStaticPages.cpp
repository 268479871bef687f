#include "UStaticPages.h"

#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QStringList>
#include <QTabWidget>
#include <QtMath>
#include <QSvgRenderer>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

// The resources live in this static library; their registration has to be
// asked for by name, outside any namespace.
static void RegisterShellResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(halovane);
        return true;
    }();
    (void)registered;
}

// Registered as the program loads, so that plain ":/..." paths work from the
// start (the program icon is set before any window exists).
static const bool shellResourcesAtLoad = (RegisterShellResources(), true);

namespace halovane {

namespace {

// A picture drawn from an SVG resource at a fixed size in device-independent
// pixels; painting from the vector picture keeps it sharp at any scaling.
class SvgPicture : public QWidget {
public:
    SvgPicture(const QString& resource, QSize size, QWidget* parent) : QWidget(parent), renderer_(resource, this) {
        setFixedSize(size);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer_.render(&painter, QRectF(rect()));
    }

private:
    QSvgRenderer renderer_;
};

}  // namespace

QString ShellResource(const QString& name) {
    RegisterShellResources();
    (void)shellResourcesAtLoad;
    return QStringLiteral(":/") + name;
}

QString ShellText(const QString& name) {
    QFile file(ShellResource(name));
    if (!file.open(QIODevice::ReadOnly)) return QString();
    QString text = QString::fromUtf8(file.readAll());
    // Every line of the file ends with a line end; the memo shows the lines,
    // so the end of the last one goes.
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text;
}

QIcon ApplicationIcon() {
    QSvgRenderer renderer(ShellResource(QStringLiteral("halovane-icon.svg")));
    QIcon icon;
    if (!renderer.isValid()) return icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, side, side));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QFont ShellFont(int pixelSize) {
    QFont font = QGuiApplication::font();
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

QPlainTextEdit* NewMemo(QWidget* parent, const QString& objectName, const QString& text, int fontPixels,
                        bool moneyGreen) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(objectName);
    if (fontPixels > 0) memo->setFont(ShellFont(fontPixels));
    if (moneyGreen) {
        QPalette palette = memo->palette();
        palette.setColor(QPalette::Base, QColor(QRgb(MoneyGreen)));
        // Dark text on the light green, whatever the desktop's colour scheme.
        palette.setColor(QPalette::Text, Qt::black);
        memo->setPalette(palette);
    }
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setPlainText(text);
    memo->moveCursor(QTextCursor::Start);
    return memo;
}

QSize MemoFitSize(const QPlainTextEdit& memo) {
    const QFontMetrics metrics(memo.font());
    const QStringList lines = memo.toPlainText().split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    const int margin = 2 * memo.frameWidth() + 2 * qCeil(memo.document()->documentMargin());
    // A little room for the text cursor and rounding of the text layout.
    const int slack = 2 * metrics.averageCharWidth();
    return QSize(widest + margin + slack, static_cast<int>(lines.size()) * metrics.lineSpacing() + margin + slack);
}

void FillIntroPage(QWidget& page) {
    auto* picture = new SvgPicture(ShellResource(QStringLiteral("intro.svg")), QSize(109, 96), &page);
    picture->setObjectName(QStringLiteral("IntroImage"));
    QPlainTextEdit* memo = NewMemo(&page, QStringLiteral("IntroMemo"), ShellText(QStringLiteral("intro.txt")), 13, true);

    // The picture stands at the lower left, next to the foot of the text.
    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->setContentsMargins(0, 0, 0, 0);
    pictureColumn->addStretch(1);
    pictureColumn->addWidget(picture);
    pictureColumn->addSpacing(9);

    auto* layout = new QHBoxLayout(&page);
    layout->setContentsMargins(24, 16, 16, 16);
    layout->setSpacing(0);
    layout->addLayout(pictureColumn);
    layout->addSpacing(35);
    layout->addWidget(memo, 1);
}

void FillMathPage(QWidget& page) {
    QPlainTextEdit* memo = NewMemo(&page, QStringLiteral("MathMemo"), ShellText(QStringLiteral("math.txt")));
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* layout = new QVBoxLayout(&page);
    layout->setContentsMargins(16, 8, 16, 8);
    layout->addWidget(memo);
}

void FillFigurePage(QWidget& page) {
    QPlainTextEdit* title =
        NewMemo(&page, QStringLiteral("FigMemo"), ShellText(QStringLiteral("figure-title.txt")), 16);
    title->setLineWrapMode(QPlainTextEdit::NoWrap);
    title->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    title->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    title->document()->setDocumentMargin(2);
    const int lineHeight = QFontMetrics(title->font()).lineSpacing();
    title->setFixedHeight(std::max(25, lineHeight + 2 * title->frameWidth() + 2 * 2 + 2));
    // The line is never cut off, whatever the width of the desktop's font.
    title->setMinimumWidth(std::max(665, MemoFitSize(*title).width()));

    auto* picture = new SvgPicture(ShellResource(QStringLiteral("figure.svg")), QSize(668, 442), nullptr);
    picture->setObjectName(QStringLiteral("FigImage"));
    // On a small window the sketch scrolls instead of being cut off.
    auto* frame = new QScrollArea(&page);
    frame->setObjectName(QStringLiteral("FigScroll"));
    frame->setFrameShape(QFrame::NoFrame);
    frame->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    frame->setWidget(picture);
    frame->viewport()->setAutoFillBackground(false);
    picture->setAutoFillBackground(false);

    auto* layout = new QVBoxLayout(&page);
    layout->setContentsMargins(40, 16, 8, 8);
    layout->setSpacing(0);
    layout->addWidget(title);
    layout->addSpacing(15);
    layout->addWidget(frame, 1);
}

void FillStaticPages(QTabWidget& frame) {
    const auto page = [&frame](const char* name) { return frame.findChild<QWidget*>(QLatin1String(name)); };
    if (QWidget* intro = page("IntroTab")) FillIntroPage(*intro);
    if (QWidget* math = page("MathTab")) FillMathPage(*math);
    if (QWidget* figure = page("FigTab")) FillFigurePage(*figure);
}

}  // namespace halovane
