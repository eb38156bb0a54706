#include "QtDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

void QtDialogs::message(QWidget* parent, Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(parent);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.setWindowTitle(title);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtDialogs::confirm(QWidget* parent, const QString& title, const QString& text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::getExistingDirectory(QWidget* parent, const QString& title,
                                                       const QString& startDir)
{
    const QString chosen =
        QFileDialog::getExistingDirectory(parent, title, startDir, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QColor> QtDialogs::chooseColor(QWidget* parent, const QColor& initial,
                                             std::array<QColor, 16>& customColors)
{
    // The dialog's custom colours are global in Qt; hand over the window's own and take them
    // back afterwards.
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, customColors[static_cast<size_t>(i)]);
    const QColor chosen = QColorDialog::getColor(initial, parent);
    for (int i = 0; i < 16; ++i)
        customColors[static_cast<size_t>(i)] = QColorDialog::customColor(i);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}
