#pragma once
// The splash screen: the program's name and version, shown without waiting while the program starts.
// Any key or a click on the logo closes it early; start-up closes it once the main window is up.
#include <QWidget>

class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    // Event handlers
    void Form_Load();
    void Form_KeyDown();
    void imgLogo_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* lblTitle_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    QLabel* imgLogo_ = nullptr;
};
