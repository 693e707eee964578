#pragma once
// Help > About: the logo, the version caption and a button back to the program.
#include <QDialog>

namespace cx {

class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);
};

} // namespace cx
