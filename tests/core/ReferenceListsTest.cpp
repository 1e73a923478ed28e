#include "support/ScratchProgram.h"
#include "support/TestQueries.h"
#include "core/DE.h"

#include <gtest/gtest.h>

namespace {
int errorNumber(const QString& id)
{
    try {
        GetOriginName(id);
    } catch (const AppError& e) {
        return e.number;
    }
    return 0;
}
} // namespace

class ReferenceLists : public ::testing::Test {
protected:
    ScratchProgram program;
};

TEST_F(ReferenceLists, TheShippedListsAreFilled)
{
    EXPECT_GE(scalar(DE.cn, "SELECT count(*) FROM ORIGIN"), 240);
    EXPECT_GE(scalar(DE.cn, "SELECT count(*) FROM CATEGORY"), 20);
    EXPECT_GE(scalar(DE.cn, "SELECT count(*) FROM INGREDIENT"), 50);
    EXPECT_GE(scalar(DE.cn, "SELECT count(*) FROM MEASURES"), 20);
    EXPECT_EQ(scalar(DE.cn, "SELECT count(*) FROM ORIGIN WHERE length(ORIGIN) > 50"), 0);
    EXPECT_EQ(scalar(DE.cn, "SELECT count(*) FROM (SELECT ORIGIN FROM ORIGIN GROUP BY ORIGIN HAVING count(*) > 1)"), 0);
    EXPECT_EQ(scalar(DE.cn, "SELECT count(*) FROM WINES"), 0);
    EXPECT_EQ(scalar(DE.cn, "SELECT count(*) FROM CONTACTS"), 0);
}

TEST_F(ReferenceLists, CountsFollowTheTables)
{
    EXPECT_EQ(CountCategories(), QString::number(scalar(DE.cn, "SELECT count(*) FROM CATEGORY")));
    EXPECT_EQ(CountIngredients(), QString::number(scalar(DE.cn, "SELECT count(*) FROM INGREDIENT")));
    EXPECT_EQ(CountOrigins(), QString::number(scalar(DE.cn, "SELECT count(*) FROM ORIGIN")));

    const QString before = CountCategories();
    db::Query(DE.cn, "INSERT INTO CATEGORY (CATEGORY) VALUES (?1)", {"Granny's Best"}).exec();
    EXPECT_EQ(CountCategories(), QString::number(before.toInt() + 1));
    DE.cn.exec("DELETE FROM INGREDIENT");
    EXPECT_EQ(CountIngredients(), "0");
}

TEST_F(ReferenceLists, OriginNamesByID)
{
    const qint64 ivory = scalar(DE.cn, "SELECT ID FROM ORIGIN WHERE ORIGIN = ?1", {"Cote d'Ivoire"});
    ASSERT_GT(ivory, 0);
    EXPECT_EQ(GetOriginName(QString::number(ivory)), "Cote d'Ivoire");
    EXPECT_EQ(GetOriginName(" " + QString::number(ivory) + " "), "Cote d'Ivoire");

    // A fractional ID is rounded as a whole-number conversion rounds: halves to the even neighbour.
    const QString second = GetOriginName("2");
    const QString third = GetOriginName("3");
    const QString fourth = GetOriginName("4");
    ASSERT_FALSE(second.isEmpty());
    EXPECT_EQ(GetOriginName("2.4"), second);
    EXPECT_EQ(GetOriginName("2.5"), second);
    EXPECT_EQ(GetOriginName("2.6"), third);
    EXPECT_EQ(GetOriginName("3.5"), fourth);

    EXPECT_EQ(GetOriginName("999999"), "");
    EXPECT_EQ(GetOriginName("0"), "");
    EXPECT_EQ(GetOriginName("-3"), "");
}

TEST_F(ReferenceLists, OriginNameEdgeCases)
{
    EXPECT_EQ(errorNumber("abc"), 13);
    EXPECT_EQ(errorNumber("12abc"), 13);
    EXPECT_EQ(errorNumber(" "), 13);
    EXPECT_EQ(errorNumber("nan"), 13);
    EXPECT_EQ(errorNumber("1e20"), 6);
    EXPECT_EQ(errorNumber("1 OR 1=1"), 13);

    // An empty ID asks nothing of the database: it answers even with the database closed.
    DE.cn.close();
    EXPECT_EQ(GetOriginName(""), "");
    EXPECT_THROW(GetOriginName("1"), AppError);
    EXPECT_THROW(CountOrigins(), AppError);
}
