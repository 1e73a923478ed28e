#include "browser/frmOptions.h"

#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/Helpers.h"
#include "core/MainWindow.h"
#include "core/RecipeListItems.h"
#include "core/Settings.h"
#include "core/basMain.h"
#include "exchange/frmAddressBook.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/ui/Ui.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QLineEdit* box(QWidget* parent, const QString& name)
{
    auto* b = new QLineEdit(parent);
    b->setObjectName(name);
    return b;
}

QCheckBox* check(QWidget* parent, const QString& name, const QString& caption)
{
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    return c;
}

QLabel* label(QWidget* parent, int index, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString("lblInfo_%1").arg(index));
    l->setWordWrap(true);
    return l;
}

QString standardTemplate() { return paths::resolve("\\templates\\default.html"); }

} // namespace

frmOptions::frmOptions(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmOptions");
    setWindowTitle("Preferences");
    setModal(true);

    pages_ = new QStackedWidget(this);
    for (int i = 0; i < 3; ++i) {
        auto* page = new QFrame;
        page->setObjectName(QString("fraOptions_%1").arg(i));
        page->setFrameShape(QFrame::StyledPanel);
        fraOptions << page;
        pages_->addWidget(page);
    }
    for (int i = 0; i < 3; ++i) {
        cmdBrowse << NamedButton(fraOptions[i == 2 ? 0 : 2], QString("cmdBrowse_%1").arg(i), "<<");
        cmdBrowse[i]->setFixedWidth(cmdBrowse[i]->fontMetrics().horizontalAdvance("<<") + 24);
    }

    // General
    QFrame* general = fraOptions[0];
    txtDisplayTemplate = box(general, "txtDisplayTemplate");
    chkOpenLast = check(general, "chkOpenLast", "Open last used Cookbook when program starts");
    chkDisplaySplash = check(general, "chkDisplaySplash", "Display splash screen at startup");
    chkClearMarked = check(general, "chkClearMarked", "Clear all checked recipes upon exit");
    auto* g = new QGridLayout(general);
    g->addWidget(label(general, 5, "HTML Display Template"), 0, 0, 1, 2);
    g->addWidget(txtDisplayTemplate, 1, 0);
    g->addWidget(cmdBrowse[2], 1, 1);
    g->addWidget(chkOpenLast, 2, 0, 1, 2);
    g->addWidget(chkDisplaySplash, 3, 0, 1, 2);
    g->addWidget(chkClearMarked, 4, 0, 1, 2);
    g->setRowStretch(5, 1);

    // Email
    QFrame* email = fraOptions[1];
    txtSMTP = box(email, "txtSMTP");
    txtUserName = box(email, "txtUserName");
    txtEmailAddress = box(email, "txtEmailAddress");
    cmdContacts = NamedButton(email, "cmdContacts", "Contact Manager");
    auto* e = new QGridLayout(email);
    e->addWidget(label(email, 2, "Simple Mail Transfer Protocol (SMTP) Server:"), 0, 0, 1, 2);
    e->addWidget(txtSMTP, 1, 0, 1, 2);
    e->addWidget(label(email, 3, "Your Name:"), 2, 0, 1, 2);
    e->addWidget(txtUserName, 3, 0, 1, 2);
    e->addWidget(label(email, 4, "Your Email Address:"), 4, 0, 1, 2);
    e->addWidget(txtEmailAddress, 5, 0, 1, 2);
    e->addWidget(cmdContacts, 6, 1);
    e->setRowStretch(7, 1);
    e->setColumnStretch(0, 1);

    // Clipboard
    QFrame* clipboard = fraOptions[2];
    chkImportDirect = check(clipboard, "chkImportDirect", "Import recognised recipes direct from the clipboard");
    chkImportPlay = check(clipboard, "chkImportPlay", "And play this sound when it does:");
    txtImportSound = box(clipboard, "txtImportSound");
    chkPlayNotRec = check(clipboard, "chkPlayNotRec", "Play this sound when it doesn't :");
    txtImportNotSound = box(clipboard, "txtImportNotSound");
    auto* c = new QGridLayout(clipboard);
    c->addWidget(label(clipboard, 0,
                       "When Tovalquendry finds a valid recipe on the clipboard: (monitor clipboard must be "
                       "selected from the \"Clipboard\" menu)"),
                 0, 0, 1, 2);
    c->addWidget(chkImportDirect, 1, 0, 1, 2);
    c->addWidget(chkImportPlay, 2, 0, 1, 2);
    c->addWidget(txtImportSound, 3, 0);
    c->addWidget(cmdBrowse[0], 3, 1);
    c->addWidget(label(clipboard, 1, "If Tovalquendry doesn't recognise the recipe format:"), 4, 0, 1, 2);
    c->addWidget(chkPlayNotRec, 5, 0, 1, 2);
    c->addWidget(txtImportNotSound, 6, 0);
    c->addWidget(cmdBrowse[1], 6, 1);
    c->setRowStretch(7, 1);

    QHBoxLayout* pageButtons =
        PageButtonRow(this, {"General", "Email", "Clipboard"}, cmdAction, [this](int i) { cmdAction_Click(i); });
    for (int i = 0; i < cmdBrowse.size(); ++i)
        connect(cmdBrowse[i], &QPushButton::clicked, this, [this, i] { cmdBrowse_Click(i); });

    cmdOK = NamedButton(this, "cmdOK", "OK"); // no default: Enter in a box writes nothing
    cmdCancel = NamedButton(this, "cmdCancel", "Cancel");
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdOK);
    bottom->addWidget(cmdCancel);

    QVBoxLayout* body = BannerLayout(this, "Preferences");
    body->addLayout(pageButtons);
    body->addWidget(pages_, 1);
    body->addLayout(bottom);
    resize(520, 400);

    // Labels name their boxes; Tab runs from the page buttons through the page shown to OK and Cancel.
    for (auto [index, box] : {std::pair{5, txtDisplayTemplate}, std::pair{2, txtSMTP}, std::pair{3, txtUserName},
                              std::pair{4, txtEmailAddress}})
        findChild<QLabel*>(QString("lblInfo_%1").arg(index))->setBuddy(box);
    txtImportSound->setAccessibleName(chkImportPlay->text());
    txtImportNotSound->setAccessibleName(chkPlayNotRec->text());
    const QList<QWidget*> order{cmdAction[0],      cmdAction[1],     cmdAction[2],   txtDisplayTemplate, cmdBrowse[2],
                                chkOpenLast,       chkDisplaySplash, chkClearMarked, txtSMTP,            txtUserName,
                                txtEmailAddress,   cmdContacts,      chkImportDirect, chkImportPlay,     txtImportSound,
                                cmdBrowse[0],      chkPlayNotRec,    txtImportNotSound, cmdBrowse[1],    cmdOK,
                                cmdCancel};
    ChainTabOrder(order);
    EnterPressesFocusedButton(this);

    connect(cmdContacts, &QPushButton::clicked, this, &frmOptions::cmdContacts_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);

    Form_Load();
}

void frmOptions::loadText(QLineEdit* box, const QString& key)
{
    box->setText(ReadINI("Options", key));
    loaded_.insert(key, box->text());
}

// A box is checked only when its key reads exactly "True"; one whose reader takes anything but "False" for
// on (the splash screen) shows that, so the box shows what the program does.
void frmOptions::loadCheck(QCheckBox* box, const QString& key, bool onUnlessFalse)
{
    const QString stored = ReadINI("Options", key);
    box->setChecked(onUnlessFalse ? stored != "False" : stored == "True");
    loaded_.insert(key, box->isChecked() ? "True" : "False");
}

void frmOptions::Form_Load()
{
    basMain::RunHandler("frmOptions Load", [&] {
        loadText(txtDisplayTemplate, "HTML Template");
        if (txtDisplayTemplate->text().isEmpty() || !FileExists(txtDisplayTemplate->text())) {
            txtDisplayTemplate->setText(standardTemplate());
            loaded_.insert("HTML Template", txtDisplayTemplate->text());
        }
        loadCheck(chkDisplaySplash, "Display Splash Screen", true);
        loadCheck(chkOpenLast, "Open Last");
        loadCheck(chkClearMarked, "Clear Checked");
        loadText(txtEmailAddress, "Senders Email");
        loadText(txtImportSound, "Recognised Sound");
        loadText(txtSMTP, "SMTP Server");
        loadText(txtImportNotSound, "Not Recognised Sound");
        loadText(txtUserName, "Senders Name");
        loadCheck(chkImportDirect, "Import Recognised");
        loadCheck(chkImportPlay, "Play Recognised Sound");
        loadCheck(chkPlayNotRec, "Play Not Recognised");
        ShowPage(0);
        txtDisplayTemplate->setFocus();
    });
}

void frmOptions::ShowPage(int index)
{
    if (index >= 0 && index < fraOptions.size()) {
        pages_->setCurrentIndex(index);
        cmdAction[index]->setChecked(true);
    }
}

void frmOptions::cmdAction_Click(int index) { ShowPage(index); }

// Every browse starts with no file name; a dialog closed without a file leaves the box as it was.
void frmOptions::cmdBrowse_Click(int index)
{
    try {
        QLineEdit* target = nullptr;
        QString chosen;
        if (index == 0 || index == 1) {
            target = index == 0 ? txtImportSound : txtImportNotSound;
            chosen = ui::getOpenFileName("Please select a sound to play", QString(),
                                         "Wav Files (*.wav);;All Files (*)");
        } else if (index == 2) {
            target = txtDisplayTemplate;
            chosen = ui::getOpenFileName("Please select a default HTML display template",
                                         paths::resolve("\\templates"), "HTML Files (*.html);;All Files (*)");
        }
        if (target && !chosen.isEmpty())
            target->setText(chosen);
    } catch (...) {
    }
}

void frmOptions::cmdContacts_Click()
{
    basMain::RunHandler("frmOptions cmdContacts", [&] { openAddressBook(); });
}

void frmOptions::openAddressBook()
{
    frmAddressBook dlg(this);
    dlg.exec();
}

QList<std::pair<QString, QString>> frmOptions::shownValues() const
{
    const auto boolText = [](const QCheckBox* box) { return QString(box->isChecked() ? "True" : "False"); };
    return {
        {"HTML Template", txtDisplayTemplate->text()},
        {"Display Splash Screen", boolText(chkDisplaySplash)},
        {"Clear Checked", boolText(chkClearMarked)},
        {"SMTP Server", txtSMTP->text()},
        {"Senders Email", txtEmailAddress->text()},
        {"Recognised Sound", txtImportSound->text()},
        {"Not Recognised Sound", txtImportNotSound->text()},
        {"Senders Name", txtUserName->text()},
        {"Open Last", boolText(chkOpenLast)},
        {"Import Recognised", boolText(chkImportDirect)},
        {"Play Recognised Sound", boolText(chkImportPlay)},
        {"Play Not Recognised", boolText(chkPlayNotRec)},
    };
}

void frmOptions::cmdOk_Click()
{
    // Only what the user changed here is written, in one write: a value another window stored meanwhile
    // is kept unless this dialog changed that very key.
    QList<std::pair<QString, QString>> changed;
    for (const auto& [key, value] : shownValues())
        if (loaded_.contains(key) && loaded_.value(key) != value)
            changed.append({key, value});
    try {
        if (!changed.isEmpty())
            WriteINIKeys("Options", changed);
    } catch (...) {
        // Nothing was stored: the dialog stays open with the user's values, to try again or cancel.
        const AppError error = basMain::CurrentError();
        basMain::LogError(error.number, "Your preferences could not be saved: " + error.description, "WriteINI");
        return;
    }
    for (const auto& [key, value] : changed)
        if (key == "HTML Template")
            basMain::sTemplatePath = value;
    // The recipe on display is shown again through the template now in force.
    try {
        IMainWindow& window = basMain::mainWindow();
        const QString shown = recipelist::selectedKey(window.lstVRecipes());
        if (!shown.isEmpty())
            window.DisplayRecipe(shown, false);
    } catch (...) {
    }
    accept();
}

void frmOptions::cmdCancel_Click() { reject(); }
