#include "core/frmEditCookbook.h"

#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/Helpers.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kMaxNameLength = 50; // the Identifier table's Name column

bool HasControlCharacter(const QString& s)
{
    for (QChar c : s)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

void Refuse(const QString& message) { ui::msgBox(message, ui::Buttons::OK, ui::Icon::Exclamation); }
} // namespace

frmEditCookbook::frmEditCookbook(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmEditCookbook");
    setWindowTitle("Edit");
    setModal(true);

    txtName = new QLineEdit(this);
    txtName->setObjectName("txtName");
    txtDescription = new QPlainTextEdit(this);
    txtDescription->setObjectName("txtDescription");
    txtDescription->setTabChangesFocus(true);
    cmdOk = new QPushButton("OK", this);
    cmdOk->setObjectName("cmdOk");
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    QVBoxLayout* form = BannerLayout(this, "Edit Cookbook");
    form->addWidget(LabelFor(txtName, "Name:", this));
    form->addWidget(txtName);
    form->addWidget(LabelFor(txtDescription, "Description:", this));
    form->addWidget(txtDescription, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    form->addLayout(buttons);
    resize(420, 320);

    txtName->installEventFilter(this);
    txtDescription->installEventFilter(this);
    connect(cmdOk, &QPushButton::clicked, this, &frmEditCookbook::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEditCookbook::cmdCancel_Click);
    EnterPressesFocusedButton(this);
}

bool frmEditCookbook::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtName)
            txtName_GotFocus();
        else if (watched == txtDescription)
            txtDescription_GotFocus();
    }
    return QDialog::eventFilter(watched, event);
}

void frmEditCookbook::txtName_GotFocus() { SelectAllText(txtName); }
void frmEditCookbook::txtDescription_GotFocus() { SelectAllText(txtDescription); }

void frmEditCookbook::cmdCancel_Click()
{
    basMain::RunHandler("cmdCancel_Click", [&] { reject(); });
}

// A name that cannot become a file of its own in the cookbooks folder is refused with a message.
bool frmEditCookbook::refuseName(const QString& name)
{
    if (text::trimBlanks(name).isEmpty()) {
        Refuse("Please enter a name for the cookbook.");
        return true;
    }
    if (name.size() > kMaxNameLength) {
        Refuse("The cookbook name may be at most 50 characters long.");
        return true;
    }
    if (name == "." || name == ".." || name.contains('/') || name.contains('\\') || HasControlCharacter(name)) {
        Refuse("The cookbook name may not be \".\" or \"..\" nor hold \"/\", \"\\\" or control characters.");
        return true;
    }
    if (FileExists(basDatabase::CookbookPath(name + ".tqc"))) {
        Refuse("A cookbook named " + name + " exists already.");
        return true;
    }
    return false;
}

// Makes the new, empty cookbook file. A file that appeared under the name meanwhile is not ours: it is
// neither written nor deleted. One left incomplete after a failure that the user saw in its box (and
// chose not to retry) is removed again, so that nothing half made is taken for a cookbook.
frmEditCookbook::Creation frmEditCookbook::createCookbookFile(const QString& name)
{
    bool complete = false;
    const bool made = basDatabase::CreateCookbook(name + ".tqc", &complete);
    sFile = basDatabase::CookbookPath(name + ".tqc");
    if (made && !complete) {
        QFile::remove(sFile);
        return Creation::FailedAndShown;
    }
    return made && FileExists(sFile) ? Creation::Made : Creation::Failed;
}

void frmEditCookbook::cmdOk_Click()
{
    bool created = false;
    try {
        const QString name = txtName->text();
        const QString description = text::toCrLf(txtDescription->toPlainText());
        if (!bEdit) {
            if (refuseName(name))
                return;
            const Creation creation = createCookbookFile(name);
            if (creation == Creation::FailedAndShown)
                return; // the dialog stays open with what was typed
            if (creation == Creation::Failed) {
                Refuse("The cookbook " + name + " could not be created.");
                return;
            }
            created = true;
        } else if (name.size() > kMaxNameLength) {
            Refuse("The cookbook name may be at most 50 characters long.");
            return;
        }
        writeIdentifier(name, description, created);
    } catch (...) {
        // A file this call made is not left behind half made, so that OK can be pressed again.
        if (created)
            QFile::remove(sFile);
        basMain::LogCurrentException("cmdOk_Click");
        return;
    }

    ui::msgBox(bEdit ? "Cookbook Edited Successfully" : "Cookbook Created Successfully", ui::Buttons::OK,
               ui::Icon::Information);
    accept();
}

// Writes the name and description into the first Identifier row of sFile, adding the row when there is none.
void frmEditCookbook::writeIdentifier(const QString& name, const QString& description, bool created)
{
    db::Connection cn;
    cn.open(sFile);
    if (created) // a step of the creation may have failed: only a complete cookbook is written
        for (const char* table : {"RECIPES", "INGREDIENTS", "IDENTIFIER", "FAVOURITES"})
            db::Query(cn, QString("SELECT * FROM %1 LIMIT 0").arg(table)).next();
    // It reads the first row before it writes: the write lock first, so that another instance's write is
    // waited for rather than failing the upgrade at once.
    db::Transaction transaction(cn, db::Transaction::OnScopeExit::Rollback, db::Transaction::Lock::Immediate);
    QVariant firstId;
    {
        db::Query first(cn, "SELECT ID FROM IDENTIFIER ORDER BY ID LIMIT 1");
        if (first.next())
            firstId = first.value("ID");
    }
    if (firstId.isValid())
        db::Query(cn, "UPDATE IDENTIFIER SET NAME=?1, DESCRIPTION=?2 WHERE ID=?3", {name, description, firstId}).exec();
    else
        db::Query(cn, "INSERT INTO IDENTIFIER (NAME, DESCRIPTION) VALUES (?1, ?2)", {name, description}).exec();
    transaction.commit();
}
