#include "core/frmCookbook.h"

#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/CompactionWindow.h"
#include "core/CookbookLock.h"
#include "core/MainWindow.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "core/frmEditCookbook.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/DictionaryOrder.h"
#include "platform/ui/Ui.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <optional>

namespace {

// The icon every cookbook is shown with: a closed book.
QIcon CookbookIcon()
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#f3ead8"));
    p.drawRoundedRect(QRectF(12, 6, 30, 38), 3, 3); // pages
    QLinearGradient cover(0, 0, 48, 0);
    cover.setColorAt(0, QColor("#7a2e1d"));
    cover.setColorAt(1, QColor("#b4532f"));
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(6, 4, 32, 38), 3, 3);
    p.setBrush(QColor("#5a1f12"));
    p.drawRect(QRectF(6, 4, 5, 38)); // spine
    p.setBrush(QColor("#f3d9a4"));
    p.drawRoundedRect(QRectF(16, 12, 18, 8), 1.5, 1.5); // label
    return QIcon(pixmap);
}

// The recipe count the way the list shows it: grouped digits of the user's locale, empty for none.
QString FormatCount(qint64 count) { return count == 0 ? QString() : QLocale().toString(count); }

// Opens again the cookbook that a command closed ("" when none was open), the way Open does; when it
// cannot be opened nothing is shown.
void ReopenCookbook(const QString& fileName)
{
    bool reopened = false;
    try {
        reopened = basDatabase::OpenCookbook(fileName);
    } catch (...) {
    }
    if (reopened) {
        basMain::mainWindow().EnableToolBarButtons();
        basMain::mainWindow().RefreshViews();
    }
}

} // namespace

frmCookbook::frmCookbook(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmCookbook");
    setWindowTitle("Cookbook Manager");
    setModal(true);

    lstvCookbooks = new QListWidget(this);
    lstvCookbooks->setObjectName("lstvCookbooks");
    lstvCookbooks->setAccessibleName("Cookbooks");
    lstvCookbooks->setViewMode(QListView::IconMode);
    lstvCookbooks->setMovement(QListView::Static);
    lstvCookbooks->setResizeMode(QListView::Adjust);
    lstvCookbooks->setWordWrap(true);
    lstvCookbooks->setIconSize(QSize(48, 48));
    lstvCookbooks->setGridSize(QSize(110, 90));
    lstvCookbooks->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(lstvCookbooks, &QListWidget::itemDoubleClicked, this, [this] { lstvCookbooks_DblClick(); });
    // From the keyboard: the arrows select a cookbook (the first one Tab lands on too), Enter opens it.
    connect(lstvCookbooks, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* current) {
        if (current && !current->isSelected())
            lstvCookbooks->setCurrentItem(current, QItemSelectionModel::ClearAndSelect);
    });
    for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter})
        new QShortcut(QKeySequence(enter), lstvCookbooks, [this] { lstvCookbooks_DblClick(); }, Qt::WidgetShortcut);

    auto* buttons = new QVBoxLayout;
    const char* captions[] = {"Open", "Create New", "Delete", "Close", "Edit", "Refresh", "Compact"};
    for (int i = 0; i < 7; ++i) {
        auto* button = new QPushButton(captions[i], this);
        button->setObjectName(QString("cmdAction_%1").arg(i));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdAction_Click(i); });
        cmdAction.append(button);
    }
    // Grouped by what they do: the file commands, then the list commands, then Close.
    // Tab follows the screen: the list, then the buttons from the top.
    QList<QWidget*> order{lstvCookbooks};
    for (int i : {0, 1, 4, 2, 6, 5, 3}) {
        buttons->addWidget(cmdAction[i]);
        order << cmdAction[i];
    }
    ChainTabOrder(order);
    buttons->insertStretch(buttons->count() - 1);

    auto* body = new QHBoxLayout;
    body->addWidget(lstvCookbooks, 1);
    body->addLayout(buttons);
    BannerLayout(this, "Cookbook Manager")->addLayout(body, 1);
    resize(560, 360);

    Form_Load();
    EnterPressesFocusedButton(this);
}

void frmCookbook::Form_Load() { ListCookbooks(); }

CookbookInfo frmCookbook::GetCookbookInfo(const QString& path)
{
    CookbookInfo info;
    try {
        db::Connection cn;
        cn.open(path);
        {
            db::Query identifier(cn, "SELECT * FROM IDENTIFIER ORDER BY ID LIMIT 1");
            if (identifier.next()) {
                info.name = identifier.text("NAME");
                info.description = identifier.text("DESCRIPTION");
            }
        }
        db::Query count(cn, "SELECT Count(*) AS RECIPE_COUNT FROM RECIPES;");
        count.next();
        info.count = count.value("RECIPE_COUNT").toLongLong();
        info.ok = true;
    } catch (...) {
        info = CookbookInfo();
    }
    return info;
}

void frmCookbook::ListCookbooks()
{
    // The cookbook selected before the refill stays selected (and current, for the keys) while it is listed.
    const QListWidgetItem* before = selectedItem();
    const QString selectedFile = before ? before->data(FileRole).toString() : QString();
    lstvCookbooks->clear();
    const QDir folder(paths::resolve("\\data\\cookbooks"));
    if (!folder.exists())
        throw AppError(AppError::PathNotFound, "Path not found: " + QDir::toNativeSeparators(folder.path()));
    const QStringList files = folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    static const QIcon icon = CookbookIcon();
    std::vector<std::pair<QString, CookbookInfo>> cookbooks; // file and what it holds
    for (const QString& file : files) {
        if (!basDatabase::HasCookbookEnding(file))
            continue;
        CookbookInfo info = GetCookbookInfo(folder.filePath(file));
        if (info.ok)
            cookbooks.emplace_back(file, std::move(info));
    }
    // Listed by the names shown, in the user's dictionary order.
    text::sortInDictionaryOrder(cookbooks, [](const auto& cookbook) { return cookbook.second.name; });
    for (const auto& [file, info] : cookbooks) {
        auto* item = new QListWidgetItem(icon, info.name, lstvCookbooks);
        item->setData(DescriptionRole, info.description);
        item->setData(CountRole, FormatCount(info.count));
        item->setData(FileRole, file);
        if (!selectedFile.isEmpty() && file == selectedFile) {
            lstvCookbooks->setCurrentItem(item);
            item->setSelected(true);
        }
    }
}

QListWidgetItem* frmCookbook::selectedItem() const
{
    const QList<QListWidgetItem*> selected = lstvCookbooks->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void frmCookbook::cmdAction_Click(int index)
{
    basMain::RunHandler("cmdAction_Click", [&] {
        switch (index) {
        case 0: openSelected(); break;
        case 1: createNew(); break;
        case 2: deleteSelected(); break;
        case 3: reject(); break;
        case 4: editSelected(); break;
        case 5: ListCookbooks(); break;
        case 6: compactSelected(); break;
        default: break;
        }
    });
}

void frmCookbook::lstvCookbooks_DblClick()
{
    basMain::RunHandler("lstvCookbooks_DblClick", [&] {
        if (selectedItem())
            openSelected();
    });
}

void frmCookbook::openSelected()
{
    const QListWidgetItem* item = selectedItem();
    if (!item)
        return;
    bool opened = false;
    try {
        opened = basDatabase::OpenCookbook(item->data(FileRole).toString());
    } catch (...) {
        opened = false;
    }
    if (!opened) {
        ui::msgBox("Failed to open cookbook!", ui::Buttons::OK, ui::Icon::Exclamation, ui::programTitle());
        return;
    }
    basMain::mainWindow().EnableToolBarButtons();
    basMain::mainWindow().RefreshViews();
    accept();
}

void frmCookbook::createNew()
{
    frmEditCookbook dialog(this);
    dialog.setWindowTitle("Create new Cookbook");
    dialog.bEdit = false;
    dialog.exec();
    ListCookbooks();
}

void frmCookbook::deleteSelected()
{
    const QListWidgetItem* item = selectedItem();
    if (!item)
        return;
    const QString question =
        "Are you sure you wish to delete this Cookbook? (" + item->text() + "). This cannot be undone!";
    if (ui::msgBox(question, ui::Buttons::YesNo, ui::Icon::Question, ui::programTitle(), ui::DefaultButton::Second)
        != ui::Answer::Yes)
        return;
    const QString file = item->data(FileRole).toString();
    const QString remembered = basDatabase::sCurrentCookbook;
    basDatabase::CloseCookbook();
    std::optional<AppError> failure;
    try {
        basDatabase::DeleteCookbookFile(file);
    } catch (...) {
        failure = basMain::CurrentError();
        ReopenCookbook(remembered); // nothing was deleted: the open cookbook comes back
    }
    ListCookbooks();
    if (failure)
        ui::msgBox("Failed to delete cookbook!\r\n" + failure->description, ui::Buttons::OK, ui::Icon::Exclamation,
                   ui::programTitle());
}

void frmCookbook::editSelected()
{
    const QListWidgetItem* item = selectedItem();
    if (!item)
        return;
    frmEditCookbook dialog(this);
    dialog.txtName->setText(item->text());
    dialog.txtDescription->setPlainText(item->data(DescriptionRole).toString().replace("\r\n", "\n"));
    dialog.bEdit = true;
    dialog.sFile = basDatabase::CookbookPath(item->data(FileRole).toString());
    dialog.exec();
    ListCookbooks();
}

void frmCookbook::compactSelected()
{
    const QListWidgetItem* item = selectedItem();
    if (!item)
        return;
    const QString file = item->data(FileRole).toString();
    const QString name = item->text();
    std::optional<AppError> failure;
    {
        ui::WaitCursor wait;
        const QString remembered = basDatabase::sCurrentCookbook;
        basDatabase::CloseCookbook();
        try {
            CompactShowingProgress(this, file, name);
        } catch (...) {
            failure = basMain::CurrentError();
        }
        ReopenCookbook(remembered);
    }
    if (failure)
        ui::msgBox("Failed to compact cookbook!\r\n" + failure->description, ui::Buttons::OK, ui::Icon::Exclamation,
                   ui::programTitle());
    else
        ui::msgBox("Cookbook Compacted Successfully", ui::Buttons::OK, ui::Icon::Information, ui::programTitle());
}
