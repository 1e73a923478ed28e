#include "browser/ImageLists.h"

#include <QHash>

static void loadIconResources() { Q_INIT_RESOURCE(icons); }

namespace images {
namespace {

QIcon fromList(const char* folder, const QHash<int, QString>& names, int index)
{
    static const bool loaded = (loadIconResources(), true);
    Q_UNUSED(loaded);
    static QHash<QString, QIcon> cache;
    const QString name = names.value(index);
    if (name.isEmpty())
        return {};
    const QString path = QString(":/icons/%1/%2.png").arg(folder, name);
    auto it = cache.find(path);
    if (it == cache.end())
        it = cache.insert(path, QIcon(path));
    return *it;
}

} // namespace

QIcon iList(int index)
{
    static const QHash<int, QString> names{
        {0, "cookbook"},      {1, "add-recipe"}, {2, "edit-recipe"}, {3, "delete-recipe"},
        {4, "search"},        {5, "email"},      {6, "import-export"}, {7, "print"},
        {8, "wine"},          {9, "conversions"}, {10, "mealmaker"},
    };
    return fromList("toolbar", names, index);
}

QIcon ilsIcons(int index)
{
    static const QHash<int, QString> names{
        {1, "cookbook"},      {2, "save"},          {3, "print"},         {4, "print-preview"},
        {8, "help"},          {10, "exit"},         {12, "edit-categories"},
        {Favourite, "favourite"}, {BranchCollapsed, "folder-closed"}, {BranchExpanded, "folder-open"},
        {CategoryEntry, "category"}, {IngredientEntry, "ingredient"}, {CountryEntry, "country"},
    };
    return fromList("menu", names, index);
}

} // namespace images
