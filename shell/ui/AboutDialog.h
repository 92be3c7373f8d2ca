#pragma once

#include <QDialog>

// The information window: program name, version, and where the data live.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(const QString &homeDir = {}, QWidget *parent = nullptr);
};

// Creates the information window anew and shows it modally.
void ShowAboutDialog(QWidget *parent, const QString &homeDir = {});
