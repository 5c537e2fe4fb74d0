// The floor of bench-gui: the tester dialog's controls built directly with Qt Widgets, without
// resources or the framework layer, so what marlox adds to a bare Qt start shows as a ratio.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int LABEL_COLUMN_END = 119;  // dialog units
constexpr int WIDENING = 10;           // pixels marlox adds to the label column for its texts

// The tester template's dialog units at its font (base units 7 x 14 pixels), with the label
// column as wide as marlox makes it.
QRect Pixels(int x, int y, int width, int height) {
    const int shift = x >= LABEL_COLUMN_END ? WIDENING : 0;
    const int widen = x < LABEL_COLUMN_END && x + width >= LABEL_COLUMN_END - 1 ? WIDENING : 0;
    return QRect(x * 7 / 4 + shift, y * 14 / 8, width * 7 / 4 + widen, height * 14 / 8);
}

QLabel* Label(QDialog& dialog, const char* text, QRect geometry) {
    auto* label = new QLabel(QString::fromLatin1(text), &dialog);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

QLabel* ResultField(QDialog& dialog, QRect geometry) {
    auto* field = new QLabel(&dialog);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setLineWidth(1);
    field->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    field->setGeometry(geometry);
    return field;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QDialog dialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The face and size marlox resolves its template's font to, so both draw the same glyphs.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    dialog.setFont(font);
    dialog.setWindowTitle(QStringLiteral("Floor"));
    dialog.setFixedSize(433, 179);

    auto* combo = new QComboBox(&dialog);
    combo->addItem(QStringLiteral("Serial port (ttyS0)"));
    combo->setGeometry(Pixels(69, 7, 111, 0).adjusted(0, 0, 0, combo->sizeHint().height()));
    Label(dialog, "COM Port", Pixels(31, 9, 31, 8));
    Label(dialog, "Tarvex ENGINECODE Inquery", Pixels(7, 29, 111, 8));
    Label(dialog, "Tarvex Version Inquery", Pixels(7, 43, 111, 8));
    Label(dialog, "Data Protection", Pixels(7, 57, 111, 8));
    Label(dialog, "Legacy Drevik ENGINECODE Inquery", Pixels(7, 71, 111, 8));
    Label(dialog, "Legacy Drevik Version Inquery", Pixels(7, 85, 112, 8));
    ResultField(dialog, Pixels(125, 28, 55, 10));
    ResultField(dialog, Pixels(125, 41, 55, 11));
    ResultField(dialog, Pixels(125, 55, 55, 11));
    ResultField(dialog, Pixels(125, 69, 55, 11));
    ResultField(dialog, Pixels(125, 83, 55, 11));
    auto* icon = new QLabel(&dialog);
    icon->setGeometry(Pixels(200, 54, 18, 17));
    icon->hide();
    auto* test = new QPushButton(QStringLiteral("TEST"), &dialog);
    test->setDefault(true);
    test->setGeometry(Pixels(188, 79, 47, 16));
    combo->setFocus();

    dialog.show();
    return application.exec();
}
