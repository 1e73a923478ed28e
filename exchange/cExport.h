#pragma once
// Writes the marked recipes of the open cookbook ("SELECT * FROM RECIPES WHERE MARK=1") to a file in one
// of the four exchange formats. The three text writers report their own errors through LogError under
// "ExportTovalquendry"; the XML writer raises its errors to the caller.
#include <QObject>
#include <QString>

class cExport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void ExportCompuChef(const QString& path);
    void ExportMasterCook(const QString& path);
    void ExportMealMaster(const QString& path);
    void ExportXML(const QString& path);

Q_SIGNALS:
    void Exported(qint32 count);

private:
    friend class TextExportRun;
};
