// Writes the sample pictures that ship beside the program: make_samples FOLDER

#include "SamplePictures.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: dorvane-make-samples FOLDER" << Qt::endl;
        return 2;
    }
    QStringList problems;
    if (!standin::SamplePictures::writeAll(arguments.at(1), &problems)) {
        for (const QString& problem : problems)
            QTextStream(stderr) << "dorvane-make-samples: " << problem << Qt::endl;
        return 1;
    }
    return 0;
}
