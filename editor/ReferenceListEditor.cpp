#include "editor/ReferenceListEditor.h"

#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/DE.h"
#include "core/MainWindow.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/text/DictionaryOrder.h"
#include "platform/ui/Ui.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kMaxNameLength = 50; // the name columns are Text(50)

QLabel* label(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}
} // namespace

ReferenceListEditor::ReferenceListEditor(ReferenceList kind, QWidget* parent) : QDialog(parent), kind_(std::move(kind))
{
    setObjectName(kind_.form);
    setWindowTitle(kind_.caption);
    setModal(true);

    list_ = new QListWidget(this);
    list_->setObjectName(kind_.listName);
    txtName = new QLineEdit(this);
    txtName->setObjectName("txtName");
    txtName->setMaxLength(kMaxNameLength);
    cmdAdd = NamedButton(this, "cmdAdd", "Add");
    cmdDelete = NamedButton(this, "cmdDelete", "Delete");
    cmdClear = NamedButton(this, "cmdClear", "Clear");
    cmdClose = NamedButton(this, "cmdClose", "Close");

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdDelete, cmdClear, cmdClose})
        buttons->addWidget(b);
    buttons->addStretch();

    auto* body = new QGridLayout;
    body->addWidget(label(this, "lblInfo_0", kind_.listLabel), 0, 0);
    body->addWidget(list_, 1, 0);
    body->addLayout(buttons, 1, 1);
    body->addWidget(label(this, "lblInfo_1", kind_.nameLabel), 2, 0);
    body->addWidget(txtName, 3, 0);
    body->setRowStretch(1, 1);
    TieLabel(findChild<QLabel*>("lblInfo_0"), list_);
    TieLabel(findChild<QLabel*>("lblInfo_1"), txtName);

    BannerLayout(this, kind_.header)->addLayout(body, 1);
    resize(380, 420);

    connect(cmdAdd, &QPushButton::clicked, this, &ReferenceListEditor::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &ReferenceListEditor::cmdDelete_Click);
    connect(cmdClear, &QPushButton::clicked, this, &ReferenceListEditor::cmdClear_Click);
    connect(cmdClose, &QPushButton::clicked, this, &ReferenceListEditor::cmdClose_Click);
    // A click, or moving through the list with the keys, puts the chosen name into the box.
    connect(list_, &QListWidget::itemClicked, this, &ReferenceListEditor::list_Click);
    connect(list_, &QListWidget::itemSelectionChanged, this, &ReferenceListEditor::list_Click);

    Form_Load();
    EnterPressesFocusedButton(this);
}

void ReferenceListEditor::handle(const QString& name, const std::function<void()>& body)
{
    if (kind_.passOverFailures) {
        try {
            body();
        } catch (...) {
        }
    } else {
        basMain::RunHandler(kind_.routinePrefix + " " + name, body);
    }
}

void ReferenceListEditor::step(const std::function<void()>& body)
{
    if (!kind_.passOverFailures)
        return body();
    try {
        body();
    } catch (...) {
    }
}

// The category editor opens with whatever it could read; the other two raise the failure to the command.
void ReferenceListEditor::Form_Load() { FillList(); }

void ReferenceListEditor::FillList()
{
    step([&] { list_->clear(); });
    step([&] {
        std::vector<std::pair<QString, qint64>> entries; // name, ID
        db::Query rows(DE.cn, QString("SELECT * FROM %1 ORDER BY %2").arg(kind_.table, kind_.column));
        while (rows.next())
            entries.emplace_back(rows.text(kind_.column), rows.value("Id").toLongLong());
        text::sortInDictionaryOrder(entries, [](const auto& entry) { return entry.first; });
        for (const auto& [name, id] : entries) {
            auto* item = new QListWidgetItem(name, list_);
            item->setData(IdRole, id);
        }
    });
}

void ReferenceListEditor::cmdAdd_Click()
{
    basMain::RunHandler(kind_.routinePrefix + " CmdAdd", [&] {
        const QString name = txtName->text();
        if (name.isEmpty())
            return;
        // The table decides, not the list this window loaded: another window may have added the name
        // meanwhile. Check and insert are one statement, so two windows adding at once store it once.
        // Names that differ only in letter case are different names.
        db::Query(DE.cn,
                  QString("INSERT INTO %1 (%2) SELECT ?1 WHERE NOT EXISTS "
                          "(SELECT 1 FROM %1 WHERE %2 = ?1 COLLATE BINARY)")
                      .arg(kind_.table, kind_.column),
                  {name})
            .exec();
        if (DE.cn.changes() == 0) {
            FillList();
            ui::msgBox(kind_.duplicateMessage, ui::Buttons::OK, ui::Icon::Information, "Oops");
            txtName->setFocus();
            return;
        }
        txtName->clear();
        txtName->setFocus();
        FillList();
    });
}

void ReferenceListEditor::cmdDelete_Click()
{
    handle("CmdDelete", [&] {
        const QList<QListWidgetItem*> selected = list_->selectedItems();
        if (selected.isEmpty() || selected.first()->text().isEmpty())
            return;
        const QListWidgetItem* item = selected.first();
        const QString name = item->text();
        if (ui::msgBox(kind_.deleteQuestion + name + "?", ui::Buttons::YesNo, ui::Icon::Question,
                       "Delete Confirmation", ui::DefaultButton::Second) != ui::Answer::Yes)
            return;
        const qint64 id = item->data(IdRole).toLongLong();
        bool gone = false;
        step([&] {
            db::Query(DE.cn, QString("DELETE FROM %1 WHERE ID=?1").arg(kind_.table), {id}).exec();
            gone = DE.cn.changes() == 0;
        });
        txtName->clear();
        FillList();
        if (gone) // another window deleted it meanwhile; the list now shows the table as it is
            ui::msgBox("\"" + name + "\" is no longer in the list.", ui::Buttons::OK, ui::Icon::Information, "Oops");
    });
}

void ReferenceListEditor::list_Click()
{
    handle(kind_.listName + " Click", [&] {
        const QList<QListWidgetItem*> selected = list_->selectedItems();
        if (!selected.isEmpty())
            txtName->setText(selected.first()->text());
    });
}

void ReferenceListEditor::cmdClear_Click()
{
    handle("CmdClear", [&] {
        txtName->clear();
        list_->clearSelection();
    });
}

// Only the Close button brings the main window's tree up to date; with no cookbook open there is
// nothing to refresh.
void ReferenceListEditor::cmdClose_Click()
{
    handle("CmdClose", [&] {
        if (!basDatabase::sCurrentCookbook.isEmpty())
            basMain::mainWindow().RefreshViews();
    });
    accept();
}
