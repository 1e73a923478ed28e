#include "exchange/frmAddressBook.h"

#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/DE.h"
#include "core/MainWindow.h"
#include "core/basMain.h"
#include "platform/text/DictionaryOrder.h"
#include "platform/ui/Ui.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// The CONTACTS columns' lengths: longer text is cut to fit rather than refused.
constexpr int kNameLength = 100;
constexpr int kAddressLength = 255;

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void Oops(const QString& message) { ui::msgBox(message, ui::Buttons::OK, ui::Icon::Information, "Oops"); }
} // namespace

frmAddressBook::frmAddressBook(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAddressBook");
    setWindowTitle("Contact Manager");
    setModal(true);

    lstvPeeps = new QTreeWidget(this);
    lstvPeeps->setObjectName("lstvPeeps");
    lstvPeeps->setRootIsDecorated(false);
    lstvPeeps->setAllColumnsShowFocus(true);
    lstvPeeps->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstvPeeps->setSelectionMode(QAbstractItemView::SingleSelection);
    txtName = new QLineEdit(this);
    txtName->setObjectName("txtName");
    txtName->setMaxLength(kNameLength);
    txtAddress = new QLineEdit(this);
    txtAddress->setObjectName("txtAddress");
    txtAddress->setMaxLength(kAddressLength);
    cmdAdd = Button(this, "cmdAdd", "Add");
    cmdDelete = Button(this, "cmdDelete", "Delete");
    cmdClear = Button(this, "cmdClear", "Clear");
    cmdClose = Button(this, "cmdClose", "Close");
    cmdOk = Button(this, "cmdOk", "OK");
    cmdCancel = Button(this, "cmdCancel", "Cancel");

    auto* entry = new QGridLayout;
    entry->addWidget(LabelFor(txtName, "Name:", this), 0, 0);
    entry->addWidget(txtName, 0, 1);
    entry->addWidget(LabelFor(txtAddress, "Email Address:", this), 1, 0);
    entry->addWidget(txtAddress, 1, 1);
    auto* edit = new QHBoxLayout;
    edit->addWidget(cmdAdd);
    edit->addWidget(cmdDelete);
    edit->addWidget(cmdClear);
    edit->addStretch();
    auto* close = new QHBoxLayout;
    close->addStretch();
    close->addWidget(cmdOk);
    close->addWidget(cmdCancel);
    close->addWidget(cmdClose);

    QVBoxLayout* body = BannerLayout(this, "Contact Manager");
    body->addWidget(LabelFor(lstvPeeps, "Contacts:", this));
    body->addWidget(lstvPeeps, 1);
    body->addLayout(entry);
    body->addLayout(edit);
    body->addLayout(close);
    resize(420, 440);

    connect(lstvPeeps, &QTreeWidget::itemClicked, this, [this] { lstvPeeps_ItemClick(); });
    connect(cmdAdd, &QPushButton::clicked, this, &frmAddressBook::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmAddressBook::cmdDelete_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmAddressBook::cmdClear_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmAddressBook::cmdClose_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmAddressBook::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddressBook::cmdCancel_Click);

    ListContacts();
    EnterPressesFocusedButton(this);
}

void frmAddressBook::ListContacts()
{
    basMain::RunHandler("frmAddressBook ListContacts", [&] {
        QSet<qint64> ticked;
        for (int i = 0; i < lstvPeeps->topLevelItemCount(); ++i)
            if (lstvPeeps->topLevelItem(i)->checkState(0) == Qt::Checked)
                ticked.insert(lstvPeeps->topLevelItem(i)->data(0, ItemTagRole).toLongLong());

        cmdOk->setVisible(bSelecting);
        cmdCancel->setVisible(bSelecting);
        cmdClose->setVisible(!bSelecting);
        lstvPeeps->clear();
        lstvPeeps->setHeaderLabels({"Name", "Email Address"});
        // Each column half the list's width, whatever the window's size.
        lstvPeeps->header()->setSectionResizeMode(QHeaderView::Stretch);

        db::Query rows(DE.cn, "SELECT * FROM CONTACTS ORDER BY CONTACTNAME ASC");
        std::vector<QTreeWidgetItem*> items;
        while (rows.next()) {
            auto* item = new QTreeWidgetItem({rows.text("CONTACTNAME"), rows.text("CONTACTADDRESS")});
            const qint64 id = rows.value("ID").toLongLong();
            item->setData(0, ItemTagRole, id);
            if (bSelecting)
                item->setCheckState(0, ticked.contains(id) ? Qt::Checked : Qt::Unchecked);
            items.push_back(item);
        }
        text::sortInDictionaryOrder(items, [](const QTreeWidgetItem* item) { return item->text(0); });
        lstvPeeps->addTopLevelItems(QList<QTreeWidgetItem*>(items.begin(), items.end()));
        txtName->clear();
        txtAddress->clear();
    });
}

void frmAddressBook::lstvPeeps_ItemClick()
{
    if (QTreeWidgetItem* item = lstvPeeps->currentItem(); item && item->isSelected()) {
        txtName->setText(item->text(0));
        txtAddress->setText(item->text(1));
    }
}

void frmAddressBook::cmdAdd_Click()
{
    basMain::RunHandler("frmAddressBook cmdAdd", [&] {
        if (txtName->text().isEmpty())
            return Oops("Please enter a name");
        if (txtAddress->text().isEmpty())
            return Oops("Please enter an email address");
        db::Query(DE.cn, "INSERT INTO CONTACTS (CONTACTNAME,CONTACTADDRESS) VALUES (?1, ?2)",
                  {txtName->text().left(kNameLength), txtAddress->text().left(kAddressLength)})
            .exec();
        ListContacts();
        txtName->clear();
        txtName->setFocus();
        txtAddress->clear();
    });
}

void frmAddressBook::cmdDelete_Click()
{
    basMain::RunHandler("frmAddressBook cmdDelete", [&] {
        QTreeWidgetItem* item = lstvPeeps->currentItem();
        if (!item || !item->isSelected())
            return;
        if (ui::msgBox("Delete " + item->text(0) + "?", ui::Buttons::YesNo, ui::Icon::Question, "Delete Confirmation",
                       ui::DefaultButton::Second) == ui::Answer::No)
            return;
        db::Query(DE.cn, "DELETE FROM CONTACTS WHERE ID = ?1", {item->data(0, ItemTagRole)}).exec();
        ListContacts();
    });
}

void frmAddressBook::cmdClear_Click()
{
    txtName->clear();
    txtAddress->clear();
    txtName->setFocus();
    lstvPeeps->clearSelection();
    lstvPeeps->setCurrentItem(nullptr);
}

void frmAddressBook::cmdOk_Click()
{
    QStringList picked;
    for (int i = 0; i < lstvPeeps->topLevelItemCount(); ++i)
        if (lstvPeeps->topLevelItem(i)->checkState(0) == Qt::Checked)
            picked << lstvPeeps->topLevelItem(i)->text(1);
    sRecipients = picked.join(';');
    accept();
}

void frmAddressBook::cmdClose_Click() { reject(); }
void frmAddressBook::cmdCancel_Click() { reject(); }
