// Draws every picture of the program into the folder given as the only argument, each at its
// own size (name.png) and at twice that for screens of a higher pixel ratio (name@2x.png, which
// Qt's icons pick by themselves and the program's pictures choose by the screen). Build and run
// it with render-artwork next to this file; the results are checked in.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

const QColor kMagenta(255, 0, 255);
const QColor kInk(20, 30, 90);
const QColor kBlockFace(151, 219, 244);

// Pixels per unit of the picture being drawn: every drawing below is in units, so a picture at
// scale 2 is the same drawing with four pixels for each of the first one's.
int gScale = 1;

QImage Canvas(int width, int height, const QColor &background,
              QImage::Format format = QImage::Format_RGB32) {
    QImage image(width * gScale, height * gScale, format);
    image.setDevicePixelRatio(gScale);
    image.fill(background);
    return image;
}

bool Save(const QImage &image, const QString &folder, const QString &name) {
    QString file = name;
    if (gScale != 1) file.insert(file.lastIndexOf('.'), QString("@%1x").arg(gScale));
    const QString path = QDir(folder).filePath(file);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Pictures that lie on the dialog background keep hard edges: antialiasing would blend the
// lines with the see-through magenta and leave pink fringes.
QPainter &Crisp(QPainter &painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    return painter;
}

QImage Arrow(int width, int height, int direction) {
    // direction: 0 right, 1 left, 2 up, 3 down
    QImage image = Canvas(width, height, kMagenta);
    QPainter painter(&image);
    Crisp(painter);
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(kInk);
    const bool horizontal = direction < 2;
    const int length = horizontal ? width : height;
    const int middle = (horizontal ? height : width) / 2;
    auto at = [&](int along, int across) {
        return horizontal ? QPoint(along, middle + across) : QPoint(middle + across, along);
    };
    const bool forward = direction == 0 || direction == 3;
    const int tip = forward ? length - 2 : 1;
    const int base = forward ? length - 10 : 9;
    painter.drawLine(at(forward ? 0 : length - 1, 0), at(base, 0));
    painter.drawPolygon(QPolygon({at(tip, 0), at(base, -5), at(base, 5)}));
    return image;
}

void Ground(QPainter &painter, int x, int y) {
    painter.drawLine(x - 9, y, x + 9, y);
    painter.drawLine(x - 6, y + 4, x + 6, y + 4);
    painter.drawLine(x - 3, y + 8, x + 3, y + 8);
}

void VerticalResistor(QPainter &painter, int x, int top, int bottom) {
    painter.drawRect(QRect(x - 5, top, 10, bottom - top));
}

void HorizontalResistor(QPainter &painter, int left, int right, int y) {
    painter.drawRect(QRect(left, y - 5, right - left, 10));
}

void HorizontalPlates(QPainter &painter, int x, int y) {
    // A capacitor lying in a vertical wire: two horizontal plates.
    painter.drawLine(x - 10, y - 4, x + 10, y - 4);
    painter.drawLine(x - 10, y + 4, x + 10, y + 4);
}

void VerticalPlates(QPainter &painter, int x, int y) {
    // A capacitor lying in a horizontal wire: two vertical plates.
    painter.drawLine(x - 4, y - 9, x - 4, y + 9);
    painter.drawLine(x + 4, y - 9, x + 4, y + 9);
}

QImage Termination() {
    // The LVPECL output pair, each line pulled down through its resistor to the supply - 2 V.
    QImage image = Canvas(40, 48, kMagenta);
    QPainter painter(&image);
    Crisp(painter);
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(Qt::NoBrush);
    for (int x : {10, 28}) {
        painter.drawLine(x, 0, x, 12);
        VerticalResistor(painter, x, 12, 30);
        painter.drawLine(x, 30, x, 36);
    }
    painter.drawLine(4, 36, 34, 36);
    QFont font("Sans");
    font.setPixelSize(8);
    painter.setFont(font);
    painter.drawText(QRect(0, 38, 40, 10), Qt::AlignCenter, "VTT");
    return image;
}

void Amplifier(QPainter &painter, int left, int right, int top, int bottom) {
    // An operational amplifier pointing right, inverting input above, non-inverting below.
    const int middle = (top + bottom) / 2;
    painter.drawPolygon(QPolygon({QPoint(left, top), QPoint(right, middle), QPoint(left, bottom)}));
    const int minusY = top + (bottom - top) / 4, plusY = bottom - (bottom - top) / 4;
    painter.drawLine(left + 5, minusY, left + 13, minusY);
    painter.drawLine(left + 5, plusY, left + 13, plusY);
    painter.drawLine(left + 9, plusY - 4, left + 9, plusY + 4);
}

QImage LoopFilterBlock() {
    QImage image = Canvas(88, 64, QColor(236, 236, 236));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(kBlockFace);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 85, 61), 6, 6);
    QFont font("Sans");
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 4, 88, 16), Qt::AlignCenter, "Loop Filter");
    // The active filter in small: C2 + R2 from the amplifier's output back to its inverting
    // input, then R3 in series and C3 to ground.
    Crisp(painter);
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(6, 37, 28, 37);   // charge-pump current in
    painter.drawLine(22, 37, 22, 26);  // feedback tap
    painter.drawLine(22, 26, 30, 26);
    painter.drawLine(30, 22, 30, 30);  // C2
    painter.drawLine(33, 22, 33, 30);
    painter.drawLine(33, 26, 38, 26);
    painter.drawRect(QRect(38, 23, 12, 6));  // R2
    painter.drawLine(50, 26, 58, 26);
    painter.drawLine(58, 26, 58, 44);
    Amplifier(painter, 28, 54, 30, 58);
    painter.drawLine(54, 44, 62, 44);
    painter.drawRect(QRect(62, 41, 10, 6));  // R3
    painter.drawLine(72, 44, 82, 44);
    painter.drawLine(77, 44, 77, 49);
    painter.drawLine(73, 49, 81, 49);  // C3
    painter.drawLine(73, 52, 81, 52);
    painter.drawLine(77, 52, 77, 56);
    painter.drawLine(74, 56, 80, 56);
    return image;
}

QImage LoopFilterSchematic() {
    // Active loop filter: the charge-pump current flows into the inverting input of an
    // integrating amplifier whose feedback path holds C1 alone and, beside it, C2 in series
    // with R2; R3 in series from the amplifier output and C3 from there to ground feed the VCO.
    // The dialog's value labels sit in the empty places above C1, C2, R2 and R3 and to the
    // right of C3, so the components keep the places those labels expect.
    QImage image = Canvas(360, 265, kMagenta);
    QPainter painter(&image);
    Crisp(painter);
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(Qt::NoBrush);
    QFont font("Sans");
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);

    constexpr int kLeftRail = 60, kRightRail = 250;  // the two ends of the feedback path
    constexpr int kInvertingY = 157, kOutputY = 172, kPlusY = 187;

    // Charge-pump current into the inverting node.
    painter.drawText(QRect(6, kInvertingY - 22, 40, 16), Qt::AlignLeft, "Icp");
    painter.drawLine(4, kInvertingY, kLeftRail, kInvertingY);
    painter.drawLine(kLeftRail - 14, kInvertingY - 5, kLeftRail - 8, kInvertingY);
    painter.drawLine(kLeftRail - 14, kInvertingY + 5, kLeftRail - 8, kInvertingY);

    // Feedback path: C1 alone, and C2 in series with R2, from the inverting node to the output.
    painter.drawLine(kLeftRail, 40, kLeftRail, kInvertingY);
    painter.drawLine(kRightRail, 40, kRightRail, kOutputY);
    painter.drawLine(kLeftRail, 40, 108, 40);
    VerticalPlates(painter, 112, 40);
    painter.drawLine(116, 40, kRightRail, 40);
    painter.drawText(QRect(100, 52, 30, 16), Qt::AlignLeft, "C1");

    painter.drawLine(kLeftRail, 96, 108, 96);
    VerticalPlates(painter, 112, 96);
    painter.drawLine(116, 96, 185, 96);
    HorizontalResistor(painter, 185, 215, 96);
    painter.drawLine(215, 96, kRightRail, 96);
    painter.drawText(QRect(100, 108, 30, 16), Qt::AlignLeft, "C2");
    painter.drawText(QRect(188, 104, 30, 16), Qt::AlignLeft, "R2");

    // The amplifier, its non-inverting input at the reference (ground).
    constexpr int kAmpLeft = 150, kAmpRight = 226;
    painter.drawLine(kLeftRail, kInvertingY, kAmpLeft, kInvertingY);
    Amplifier(painter, kAmpLeft, kAmpRight, kOutputY - 40, kOutputY + 40);
    painter.drawLine(kAmpLeft, kPlusY, 126, kPlusY);
    painter.drawLine(126, kPlusY, 126, 222);
    Ground(painter, 126, 222);
    painter.drawLine(kAmpRight, kOutputY, 265, kOutputY);

    // R3 in series from the output, C3 from there to ground, on to the VCO.
    HorizontalResistor(painter, 265, 295, kOutputY);
    painter.drawLine(295, kOutputY, 356, kOutputY);
    painter.drawText(QRect(268, 180, 30, 16), Qt::AlignLeft, "R3");
    painter.drawText(QRect(326, 150, 34, 16), Qt::AlignLeft, "VCO");
    painter.drawLine(350, kOutputY - 6, 356, kOutputY);
    painter.drawLine(350, kOutputY + 6, 356, kOutputY);
    painter.drawLine(315, kOutputY, 315, 210);
    HorizontalPlates(painter, 315, 214);
    painter.drawLine(315, 218, 315, 240);
    Ground(painter, 315, 240);
    painter.drawText(QRect(282, 206, 24, 16), Qt::AlignLeft, "C3");

    painter.setBrush(kInk);
    for (QPoint node :
         {QPoint(kLeftRail, 96), QPoint(kLeftRail, kInvertingY), QPoint(kRightRail, 96),
          QPoint(kRightRail, kOutputY), QPoint(315, kOutputY)}) {
        painter.drawEllipse(node, 2, 2);
    }
    return image;
}

QImage SliderChannel(const QColor &groove) {
    QImage image = Canvas(240, 17, QColor(212, 208, 200));
    QPainter painter(&image);
    Crisp(painter);
    const QRect slot(2, 6, 236, 5);
    painter.fillRect(slot, groove);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(slot.topLeft(), slot.topRight());
    painter.drawLine(slot.topLeft(), slot.bottomLeft());
    painter.setPen(Qt::white);
    painter.drawLine(slot.bottomLeft(), slot.bottomRight());
    painter.drawLine(slot.topRight(), slot.bottomRight());
    return image;
}

QImage SliderThumb(bool dragged) {
    // Red corners are the see-through key: the slider takes it from the top-left pixel.
    QImage image = Canvas(23, 11, QColor(255, 0, 0));
    QPainter painter(&image);
    Crisp(painter);
    painter.setPen(QColor(64, 64, 64));
    painter.setBrush(QColor(90, 120, 170));
    painter.drawRect(QRect(1, 0, 20, 10));
    painter.setPen(dragged ? QColor(255, 230, 0) : QColor(200, 215, 240));
    for (int x : {7, 11, 15}) painter.drawLine(x, 2, x, 8);
    return image;
}

QImage ProgramIcon() {
    QImage image = Canvas(48, 48, Qt::transparent, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A chip with a clock wave on it.
    painter.setPen(QPen(QColor(160, 160, 160), 2));
    for (int i = 0; i < 4; ++i) {
        const int at = 12 + i * 8;
        painter.drawLine(at, 2, at, 8);
        painter.drawLine(at, 40, at, 46);
        painter.drawLine(2, at, 8, at);
        painter.drawLine(40, at, 46, at);
    }
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(QColor(40, 60, 120));
    painter.drawRoundedRect(QRectF(7, 7, 34, 34), 4, 4);
    painter.setPen(QPen(kBlockFace, 2.5));
    QPainterPath wave;
    wave.moveTo(12, 30);
    wave.lineTo(16, 30);
    wave.lineTo(16, 18);
    wave.lineTo(22, 18);
    wave.lineTo(22, 30);
    wave.lineTo(28, 30);
    wave.lineTo(28, 18);
    wave.lineTo(34, 18);
    wave.lineTo(34, 30);
    wave.lineTo(37, 30);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);
    return image;
}

using ToolDrawing = std::function<void(QPainter &)>;

QImage ToolIcon(const ToolDrawing &draw) {
    QImage image = Canvas(16, 15, Qt::transparent, QImage::Format_ARGB32);
    QPainter painter(&image);
    Crisp(painter);
    draw(painter);
    return image;
}

void Page(QPainter &p, int left, int top) {
    p.setPen(QColor(0, 0, 0));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(left, top), QPoint(left + 6, top), QPoint(left + 9, top + 3),
                            QPoint(left + 9, top + 12), QPoint(left, top + 12)}));
    p.drawLine(left + 6, top, left + 6, top + 3);
    p.drawLine(left + 6, top + 3, left + 9, top + 3);
}

bool DrawAll(const QString &out) {
    bool ok = true;
    ok &= Save(ProgramIcon(), out, "program_icon.png");
    ok &= Save(Arrow(40, 15, 0), out, "arrow_right.png");
    ok &= Save(Arrow(40, 15, 1), out, "arrow_left.png");
    ok &= Save(Arrow(15, 40, 3), out, "arrow_down.png");
    ok &= Save(LoopFilterBlock(), out, "loop_filter_block.png");
    ok &= Save(Termination(), out, "termination.png");
    ok &= Save(LoopFilterSchematic(), out, "loop_filter_schematic.png");
    ok &= Save(SliderChannel(QColor(160, 160, 160)), out, "slider_channel.png");
    ok &= Save(SliderChannel(QColor(0, 170, 60)), out, "slider_channel_filled.png");
    ok &= Save(SliderThumb(false), out, "slider_thumb.png");
    ok &= Save(SliderThumb(true), out, "slider_thumb_dragged.png");

    ok &= Save(ToolIcon([](QPainter &p) { Page(p, 3, 1); }), out, "tool_new.png");
    ok &= Save(
        ToolIcon([](QPainter &p) {
            p.setPen(QColor(0, 0, 0));
            p.setBrush(QColor(240, 200, 60));
            p.drawPolygon(QPolygon({QPoint(1, 3), QPoint(5, 3), QPoint(6, 4), QPoint(12, 4),
                                    QPoint(12, 12), QPoint(1, 12)}));
            p.setBrush(QColor(255, 230, 120));
            p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(12, 12), QPoint(1, 12)}));
        }),
        out, "tool_open.png");
    ok &= Save(ToolIcon([](QPainter &p) {
                   p.setPen(QColor(0, 0, 0));
                   p.setBrush(QColor(40, 70, 150));
                   p.drawRect(1, 1, 13, 12);
                   p.setBrush(Qt::white);
                   p.drawRect(4, 1, 7, 5);
                   p.setBrush(QColor(180, 180, 180));
                   p.drawRect(4, 9, 7, 4);
               }),
               out, "tool_save.png");
    ok &= Save(ToolIcon([](QPainter &p) {
                   p.setPen(QPen(QColor(0, 0, 0), 1));
                   p.drawLine(5, 1, 9, 8);
                   p.drawLine(10, 1, 6, 8);
                   p.setBrush(Qt::NoBrush);
                   p.drawEllipse(QRect(2, 8, 4, 4));
                   p.drawEllipse(QRect(9, 8, 4, 4));
               }),
               out, "tool_cut.png");
    ok &= Save(ToolIcon([](QPainter &p) {
                   Page(p, 1, 0);
                   Page(p, 6, 2);
               }),
               out, "tool_copy.png");
    ok &= Save(ToolIcon([](QPainter &p) {
                   p.setPen(QColor(0, 0, 0));
                   p.setBrush(QColor(170, 120, 60));
                   p.drawRect(1, 2, 10, 12);
                   p.setBrush(QColor(200, 200, 200));
                   p.drawRect(4, 1, 4, 2);
                   Page(p, 6, 2);
               }),
               out, "tool_paste.png");
    ok &= Save(ToolIcon([](QPainter &p) {
                   p.setPen(QColor(0, 0, 0));
                   p.setBrush(Qt::white);
                   p.drawRect(4, 1, 8, 5);
                   p.setBrush(QColor(190, 190, 190));
                   p.drawRect(1, 6, 14, 6);
                   p.setBrush(Qt::white);
                   p.drawRect(4, 10, 8, 4);
                   p.setPen(QColor(0, 160, 0));
                   p.drawPoint(13, 8);
               }),
               out, "tool_print.png");
    ok &= Save(ToolIcon([](QPainter &p) {
                   p.setRenderHint(QPainter::Antialiasing);
                   p.setPen(QColor(0, 40, 140));
                   p.setBrush(QColor(60, 110, 220));
                   p.drawEllipse(QRectF(1, 0.5, 14, 14));
                   QFont font("Sans");
                   font.setPixelSize(11);
                   font.setBold(true);
                   p.setFont(font);
                   p.setPen(Qt::white);
                   p.drawText(QRect(1, 0, 15, 15), Qt::AlignCenter, "?");
               }),
               out, "tool_about.png");
    return ok;
}

}  // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_artwork FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    for (int scale : {1, 2}) {
        gScale = scale;
        ok &= DrawAll(out);
    }
    return ok ? 0 : 1;
}
