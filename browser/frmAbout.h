#pragma once
// The About box: the program's name and version, who made it, and three links (the web page, a mail to
// the makers and the donation page) that open in the user's browser or mail client. Opened modally.
#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // The three links the box opens.
    static const QString kWebPage;
    static const QString kMailLink;
    static const QString kDonatePage;

    explicit frmAbout(QWidget* parent = nullptr);

    // Event handlers
    void Form_Load();
    void Form_KeyUp(int key);   // a Qt key code; Escape closes the box
    void Form_MouseMove();      // the pointer over the form: both links back to their plain look
    void cmdOk_Click();
    void lblWeb_Click();
    void lblEmail_Click();
    void imgDonate_Click();
    void lblWeb_MouseMove();    // the pointer over a link: blue and underlined
    void lblEmail_MouseMove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void openLink(const QString& link);
    QLabel* lblTitle_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    QLabel* lblWeb_ = nullptr;
    QLabel* lblEmail_ = nullptr;
    QLabel* imgDonate_ = nullptr;
    QPushButton* cmdOk_ = nullptr;
};
