#pragma once
// The order and the first letters of the user's language, through ICU's collation for the default
// QLocale: "Éclair" beside "Eclair", "Œufs" beside "Oeufs", "Łosoś" among the L's, Greek and Japanese
// after the Latin letters. Nothing here is stored: lists are sorted as they are filled.
#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

struct UCollator;

namespace text {

class DictionaryOrder {
public:
    // For the language of QLocale() as it is now.
    DictionaryOrder();
    ~DictionaryOrder();
    DictionaryOrder(const DictionaryOrder&) = delete;
    DictionaryOrder& operator=(const DictionaryOrder&) = delete;

    // <0, 0 or >0 as `a` sorts before, with or after `b`.
    int compare(QStringView a, QStringView b) const;

    // True when `title` sorts under the letter-bar letter `letter` ("a" to "z", either case): the Latin
    // letter it starts with, the same in every language ("İçli" and "Irmik" under "i", "Çorba" under
    // "c", "Łosoś" under "l"). At the primary strength of Unicode's root order (blind to accents and
    // letter case) it sorts at or after the letter and before the next one; under "z", every title from
    // "z" on whose first letter is Latin.
    bool sortsUnderLetter(QStringView title, QChar letter) const;

    // The positions 0..n-1 of `texts` in dictionary order (equal texts keep their order). Sorting by
    // collation keys: one key per text, then byte comparisons.
    std::vector<int> orderOf(const std::vector<QString>& texts) const;

private:
    UCollator* full_ = nullptr;
    UCollator* primary_ = nullptr;
};

// The list sorted in dictionary order.
QStringList sortedInDictionaryOrder(QStringList list);

// Sorts `rows` in dictionary order of the text that `textOf` gives for each row.
template <class Row, class TextOf>
void sortInDictionaryOrder(std::vector<Row>& rows, TextOf textOf)
{
    std::vector<QString> texts;
    texts.reserve(rows.size());
    for (const Row& row : rows)
        texts.push_back(textOf(row));
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (int i : DictionaryOrder().orderOf(texts))
        sorted.push_back(std::move(rows[static_cast<size_t>(i)]));
    rows = std::move(sorted);
}

// Dictionary order, accent-blind matching and the letter test are on unless turned off: the benchmarks
// turn them off to measure the plain rules they replaced (the database's order, letter case only) in the
// same run. Nothing else turns them off.
bool dictionaryRules();
void setDictionaryRules(bool on);

} // namespace text
