// A bare Qt window of the main window's size and title, what bench_startup compares Dorvane with;
// with --caption it also shows one line of text, and so pays, as every window with text does, for
// loading the fonts.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Dorvane 4.0"));
    window.setFixedSize(511, 574);
    if (app.arguments().contains(QStringLiteral("--caption")))
        (new QLabel(QStringLiteral("Change the Picture Every :"), &window))->move(10, 10);
    window.show();
    return QApplication::exec();
}
