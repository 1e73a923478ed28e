#pragma once
// A scratch program folder laid out like the real one (the reference database built from resources/,
// data/blank.html, data/cookbooks/, templates/, help/, temp/), made the program folder for as long as it
// lives. On the way out it closes the cookbook and the reference database and resets the shared values.
#include "QtPrinters.h"

#include <QString>
#include <QTemporaryDir>

class ScratchProgram {
public:
    // openReferenceDatabase: open DE.cn on the scratch copy of the reference database.
    explicit ScratchProgram(bool openReferenceDatabase = true);
    ~ScratchProgram();

    QString path(const QString& relative = {}) const; // "data/cookbooks" -> absolute path
    // A file in this instance's page folder under "temp" (the folder itself for "").
    static QString page(const QString& name = {});
    QString errorLog() const;                          // the bytes of error.log as text ("" when none)

    // Creates a cookbook through CreateCookbook and opens it; returns its file name.
    QString createCookbook(const QString& name = "Test");

    // Inserts a recipe row into the open cookbook with the given title (stored form) and returns its ID.
    static qint64 addRecipe(const QString& title, const QString& category = "Dessert",
                            const QString& ingredients = "1 cup flour", const QString& origin = {});

private:
    QTemporaryDir dir_;
};
