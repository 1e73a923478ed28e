#include "editor/frmWineAdd.h"

#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/DE.h"
#include "core/Helpers.h"
#include "core/MainWindow.h"
#include "core/RecipeListItems.h"
#include "core/basMain.h"
#include "platform/AppError.h"
#include "platform/text/DictionaryOrder.h"
#include "platform/ui/Ui.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

namespace {
constexpr int kMaxFieldLength = 50; // every WINES text column but COMMENTS is Text(50)

// The list's sub-items 1 to 6: column in WINES and caption of the list column (column 0 is the name).
struct WineColumn {
    const char* column;
    const char* caption;
};
constexpr WineColumn kSubItems[] = {
    {"YEAR", "Year"},         {"TYPE", "Type"},         {"COLOUR", "Colour"},
    {"COUNTRY", "Country"},   {"VINEYARD", "Vineyard"}, {"COMMENTS", "Comments"},
};

QLineEdit* box(QWidget* parent, const QString& name, int maxLength = kMaxFieldLength)
{
    auto* b = new QLineEdit(parent);
    b->setObjectName(name);
    if (maxLength > 0)
        b->setMaxLength(maxLength);
    return b;
}

// A list that taking the focus leaves as it was: Qt makes the first row current when a list without a
// current row gets the focus, which here would pick a wine the user never chose. With no current row,
// the first Down moves to the first wine.
class UnpickedOnEntryList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        const bool hadCurrent = currentIndex().isValid();
        QTreeWidget::focusInEvent(event);
        if (!hadCurrent)
            selectionModel()->clearCurrentIndex();
    }
};

// The country's ID as stored in [COUNTRY] (decimal text); nothing when it is Null or no whole number.
std::optional<qint64> countryId(const QVariant& stored)
{
    bool ok = false;
    const qint64 id = stored.toString().trimmed().toLongLong(&ok);
    return stored.isNull() || !ok ? std::nullopt : std::optional<qint64>(id);
}

} // namespace

frmWineAdd::frmWineAdd(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmWineAdd");
    setWindowTitle("Wine List");
    setModal(true);

    lstvWines = new UnpickedOnEntryList(this);
    lstvWines->setObjectName("lstvWines");
    boxesAsLoaded_.leaveOut(lstvWines);
    lstvWines->setRootIsDecorated(false);
    lstvWines->setUniformRowHeights(true);
    lstvWines->setAllColumnsShowFocus(true);

    txtWineName = box(this, "txtWineName");
    txtYear = box(this, "txtYear");
    txtType = box(this, "txtType");
    txtColour = box(this, "txtColour");
    txtVineyard = box(this, "txtVineyard");
    txtComments = box(this, "txtComments", 0);
    cmbCountry = new QComboBox(this);
    cmbCountry->setObjectName("cmbCountry");
    cmbCountry->setMaxVisibleItems(20);
    cmbCountry->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbCountry->setMinimumContentsLength(12);

    cmdAdd = NamedButton(this, "cmdAdd", "Add");
    cmdDelete = NamedButton(this, "cmdDelete", "Delete");
    cmdClear = NamedButton(this, "cmdClear", "Clear");
    cmdClose = NamedButton(this, "cmdClose", "Close");
    cmdSelect = NamedButton(this, "cmdSelect", "Select");
    cmdSelect->setVisible(false);

    const QList<QPair<QString, QWidget*>> fields{
        {"Wine Name:", txtWineName}, {"Year:", txtYear},         {"Type:", txtType},   {"Colour:", txtColour},
        {"Vineyard:", txtVineyard},  {"Comments:", txtComments}, {"Country:", cmbCountry},
    };
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(12);
    for (int i = 0; i < fields.size(); ++i) {
        auto* label = new QLabel(fields[i].first, this);
        label->setObjectName(QString("lblFieldLabel_%1").arg(i));
        lblFieldLabel << label;
        // Two columns of fields: name, year, type, colour on the left; vineyard, comments, country right.
        const int row = (i % 4) * 2, column = i / 4;
        grid->addWidget(label, row, column);
        grid->addWidget(fields[i].second, row + 1, column);
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdSelect, cmdAdd, cmdDelete, cmdClear, cmdClose})
        buttons->addWidget(b);

    QVBoxLayout* body = BannerLayout(this, "Favourite Wine List");
    body->addWidget(lstvWines, 1);
    body->addLayout(grid);
    body->addLayout(buttons);
    resize(720, 560);

    for (int i = 0; i < fields.size(); ++i)
        TieLabel(lblFieldLabel[i], fields[i].second);
    lstvWines->setAccessibleName("Wines");
    for (QLineEdit* b : boxes()) {
        b->installEventFilter(this);
        SelectAllOnClick(b);
    }
    EnterPressesFocusedButton(this);
    connect(cmdAdd, &QPushButton::clicked, this, &frmWineAdd::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmWineAdd::cmdDelete_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmWineAdd::cmdClear_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmWineAdd::cmdClose_Click);
    connect(cmdSelect, &QPushButton::clicked, this, &frmWineAdd::cmdSelect_Click);
    // A click, or moving through the list with the keys (which selects the row moved to), loads the wine.
    // Nothing else selects a row, so a wine is loaded only when the user picked it.
    connect(lstvWines, &QTreeWidget::itemClicked, this, &frmWineAdd::lstvWines_Click);
    connect(lstvWines, &QTreeWidget::itemSelectionChanged, this, &frmWineAdd::lstvWines_Click);

    Form_Load();
}

QList<QLineEdit*> frmWineAdd::boxes() const
{
    return {txtWineName, txtYear, txtType, txtColour, txtVineyard, txtComments};
}

// The six boxes' GotFocus: typing replaces the whole text.
bool frmWineAdd::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        if (auto* b = qobject_cast<QLineEdit*>(watched); b && boxes().contains(b))
            SelectAllText(b);
    return QDialog::eventFilter(watched, event);
}

void frmWineAdd::Form_Load()
{
    basMain::RunHandler("Wine Form Load", [&] {
        FillListView();
        cmbCountry->clear();
        db::Query origins(DE.cn, "SELECT * FROM ORIGIN ORDER BY ID");
        std::vector<std::pair<QString, qint64>> countries;
        while (origins.next())
            countries.emplace_back(origins.text("ORIGIN"), origins.value("Id").toLongLong());
        text::sortInDictionaryOrder(countries, [](const auto& country) { return country.first; });
        for (const auto& [name, id] : countries)
            cmbCountry->addItem(name, id);
        cmbCountry->setCurrentIndex(-1);
        boxesAsLoaded_.keep();
        // Picker mode lasts for this opening only. Select is then the default button and first in the Tab
        // order; Enter never adds or updates a wine.
        const bool picking = basMain::bPickWine;
        if (picking) {
            cmdSelect->setVisible(true);
            basMain::bPickWine = false;
        }
        cmdSelect->setDefault(picking);
        QList<QWidget*> order{lstvWines, txtWineName, txtYear, txtType, txtColour, txtVineyard, txtComments,
                              cmbCountry, cmdAdd, cmdDelete, cmdClear, cmdClose};
        if (picking)
            order.prepend(cmdSelect);
        ChainTabOrder(order);
        order.first()->setFocus();
    });
}

void frmWineAdd::FillListView()
{
    basMain::RunHandler("Subroutine FillListView", [&] {
        lstvWines->clear();
        QStringList captions{"Name"};
        for (const WineColumn& c : kSubItems)
            captions << c.caption;
        lstvWines->setColumnCount(captions.size());
        lstvWines->setHeaderLabels(captions);

        db::Query rows(DE.cn, "SELECT * FROM WINES ORDER BY \"WINE NAME\" ASC");
        std::vector<QTreeWidgetItem*> items;
        auto addItems = qScopeGuard([&] {
            text::sortInDictionaryOrder(items, [](const QTreeWidgetItem* item) { return item->text(0); });
            lstvWines->addTopLevelItems(QList<QTreeWidgetItem*>(items.begin(), items.end()));
        });
        while (rows.next()) {
            auto* item = new QTreeWidgetItem;
            item->setData(0, ItemKeyRole, "W" + rows.text("WINE INDEX"));
            item->setText(0, rows.text("WINE NAME"));
            for (int i = 0; i < int(std::size(kSubItems)); ++i) {
                const QVariant value = rows.value(kSubItems[i].column);
                if (value.isNull())
                    continue;
                if (QString(kSubItems[i].column) == "COUNTRY") {
                    // A country that is no ORIGIN ID shows as an empty cell rather than losing the list.
                    const std::optional<qint64> id = countryId(value);
                    item->setText(i + 1, id ? GetOriginName(QString::number(*id)) : QString());
                } else {
                    item->setText(i + 1, value.toString());
                }
            }
            items.push_back(item);
        }
    });
}

namespace {
QString wineGoneMessage(const QString& name)
{
    return "The wine \"" + name + "\" is no longer in the list: another window has deleted it.";
}
} // namespace

void frmWineAdd::ClearForm()
{
    for (QLineEdit* b : boxes())
        b->clear();
    cmbCountry->setCurrentIndex(-1);
    cmdAdd->setText("Add");
    txtWineName->setFocus();
    sIndex.clear();
    boxesAsLoaded_.keep();
}

// Loads the clicked wine into the boxes; every box is emptied first, so nothing of the wine shown
// before stays behind, and the dialog turns to "Update" only once the wine is in.
void frmWineAdd::lstvWines_Click()
{
    basMain::RunHandler("Wine Form lstVWines Click", [&] {
        const QTreeWidgetItem* item = recipelist::selectedItem(lstvWines);
        if (!item)
            return;
        db::Query row(DE.cn, "SELECT * FROM WINES WHERE \"WINE INDEX\"=?1", {recipelist::idOf(recipelist::itemKey(item))});
        if (!row.next())
            return;
        for (QLineEdit* b : boxes())
            b->clear();
        txtColour->setText(row.text("COLOUR"));
        txtComments->setText(row.text("COMMENTS"));
        txtType->setText(row.text("TYPE"));
        txtVineyard->setText(row.text("VINEYARD"));
        txtYear->setText(row.text("YEAR"));
        txtWineName->setText(row.text("WINE NAME"));
        const std::optional<qint64> country = countryId(row.value("COUNTRY"));
        cmbCountry->setCurrentIndex(country ? cmbCountry->findData(*country) : -1);
        sIndex = QString::number(row.value("WINE INDEX").toLongLong());
        cmdAdd->setText("Update");
        boxesAsLoaded_.keep();
    });
}

// Updates the loaded wine, or adds a new one when none is loaded. A wine without a chosen country is
// stored with no country.
void frmWineAdd::cmdAdd_Click()
{
    basMain::RunHandler("CmdAdd sIndex=" + sIndex, [&] {
        if (!storeBoxes())
            return;
        ClearForm();
        FillListView();
    });
}

// Writes the boxes to WINES; the stored wine's index, or nothing when nothing was stored (no name for a
// new wine, or the loaded wine was deleted by another window meanwhile).
std::optional<qint64> frmWineAdd::storeBoxes()
{
    const QVariant country =
        cmbCountry->currentIndex() >= 0 ? QVariant(QString::number(cmbCountry->currentData().toLongLong())) : QVariant();
    if (!sIndex.isEmpty()) {
        db::Query(DE.cn,
                  "UPDATE WINES SET \"WINE NAME\"=?1, YEAR=?2, TYPE=?3, COLOUR=?4, COUNTRY=?5, VINEYARD=?6, "
                  "COMMENTS=?7 WHERE \"WINE INDEX\"=?8",
                  {txtWineName->text(), txtYear->text(), txtType->text(), txtColour->text(), country,
                   txtVineyard->text(), txtComments->text(), sIndex.toLongLong()})
            .exec();
        if (DE.cn.changes() == 0) {
            // Another window deleted the wine meanwhile. The boxes keep what the user typed, as a
            // new wine that Add stores again if wanted.
            sIndex.clear();
            cmdAdd->setText("Add");
            FillListView();
            ui::msgBox(wineGoneMessage(txtWineName->text()) + "\nYour values are kept: Add stores them as a new wine.",
                       ui::Buttons::OK, ui::Icon::Information, "Wine List");
            return std::nullopt;
        }
        return sIndex.toLongLong();
    }
    if (txtWineName->text().isEmpty()) {
        txtWineName->setFocus();
        return std::nullopt;
    }
    db::Query(DE.cn,
              "INSERT INTO WINES (\"WINE NAME\", YEAR, TYPE, COLOUR, COUNTRY, VINEYARD, COMMENTS) "
              "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
              {txtWineName->text(), txtYear->text(), txtType->text(), txtColour->text(), country,
               txtVineyard->text(), txtComments->text()})
        .exec();
    return DE.cn.lastInsertId();
}

void frmWineAdd::cmdDelete_Click()
{
    basMain::RunHandler("Form Wine cmdDelete", [&] {
        const QTreeWidgetItem* item = recipelist::selectedItem(lstvWines);
        if (!item)
            return;
        if (ui::msgBox("Delete selected wine " + item->text(0) + "?", ui::Buttons::YesNo, ui::Icon::Question,
                       "Delete Confirmation", ui::DefaultButton::Second) != ui::Answer::Yes)
            return;
        const QString name = item->text(0);
        db::Query(DE.cn, "DELETE FROM WINES WHERE \"WINE INDEX\"=?1", {recipelist::idOf(recipelist::itemKey(item))}).exec();
        const bool gone = DE.cn.changes() == 0;
        ClearForm();
        FillListView();
        if (gone)
            ui::msgBox(wineGoneMessage(name), ui::Buttons::OK, ui::Icon::Information, "Wine List");
    });
}

void frmWineAdd::cmdClear_Click()
{
    basMain::RunHandler("CmdClear", [&] { ClearForm(); });
}

void frmWineAdd::cmdClose_Click() { reject(); }

void frmWineAdd::cmdSelect_Click()
{
    basMain::RunHandler("cmdSelect frmWineAdd", [&] {
        const QTreeWidgetItem* item = recipelist::selectedItem(lstvWines);
        if (!item)
            return;
        QString picked = item->text(0) + "##" + recipelist::itemKey(item);
        if (boxesAsLoaded_.changed()) {
            // What the user typed is neither dropped silently nor stored unasked.
            const ui::Answer answer = ui::msgBox(
                "The boxes hold changes that are not saved.\n\nSave them before selecting? Yes saves them and "
                "selects the saved wine; No selects \"" + item->text(0) + "\" as it is stored.",
                ui::Buttons::YesNoCancel, ui::Icon::Question, "Wine List", ui::DefaultButton::Third);
            if (answer == ui::Answer::Cancel)
                return;
            if (answer == ui::Answer::Yes) {
                const QString name = txtWineName->text();
                const std::optional<qint64> stored = storeBoxes();
                if (!stored)
                    return;
                picked = name + "##W" + QString::number(*stored);
            }
        }
        basMain::sSelectedWine = picked;
        accept();
    });
}
