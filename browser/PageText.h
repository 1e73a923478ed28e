#pragma once
// Stored recipe text as the recipe page shows it.
#include <QHash>
#include <QString>

namespace pagetext {

// Runs of more characters than this without a blank get an invisible break opportunity after every this
// many, so that the view wraps them instead of laying out one endless word.
constexpr qsizetype kLongestRun = 64;
// The most characters of stored text the page on display shows: the view lays this much out in a fraction
// of a second. A wide East Asian character counts as several.
constexpr qsizetype kShownChars = 200000;

// Stored text as page text: "$$" shows as "'", and "<", ">", "&" and both quotes show as themselves (never
// as markup, and never ending an attribute the template puts the value in). With `breakRuns` (the page on
// display only) long runs without a blank get break opportunities (U+200B).
QString Html(const QString& stored, bool breakRuns = false);
// "<", ">", "&" and both quotes as character references, nothing else changed.
QString Escaped(const QString& value);
// The text an attribute value or text stands for: the references above, "&quot;" and "&#N;" resolved.
QString Unescaped(const QString& html);

// The template with every placeholder ("%title%" ...) that has a value in `values` (keyed by the name
// between the "%") replaced, in one pass: a value goes in as it is and is never searched for placeholders.
// "##" becomes one blank in the template's text and in every value but `keepHashes`'s, as a page always
// had it.
QString Fill(const QString& page, const QHash<QString, QString>& values, const QString& keepHashes);

// The note that ends a page cut short.
QString CutNote();

// Hands out stored values, in the order the page shows them, until the page's share of text is used up;
// the value that passes it is cut (at a line end where one is near) and the ones after it are empty.
class ShownText {
public:
    explicit ShownText(qsizetype limit) : left_(limit) {} // a negative limit: everything is shown
    QString take(const QString& stored);
    bool cutHere() const { return cutHere_; } // the value just taken was cut
    bool cut() const { return cut_; }         // some value was

private:
    qsizetype left_;
    bool cut_ = false;
    bool cutHere_ = false;
};

} // namespace pagetext
