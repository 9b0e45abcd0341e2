#include "store/Dates.h"

#include <QtTest>

class TstDates : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void isEmptyBox_data();
    void isEmptyBox();
    void texts_data();
    void texts();
    void invalidTexts();
    void isoRoundTrip_data();
    void isoRoundTrip();
    void boxTextReadsBack();
};

void TstDates::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("expected");

    const QDate y2026(2026, 6, 15);
    const QDate y2000(2000, 1, 1);

    QTest::newRow("window start") << "01/02/76" << y2026 << QDate(1976, 2, 1);
    QTest::newRow("window end") << "31/12/75" << y2026 << QDate(2075, 12, 31);
    QTest::newRow("this century") << "05/03/05" << y2026 << QDate(2005, 3, 5);
    QTest::newRow("window start, other today") << "10/10/50" << y2000 << QDate(1950, 10, 10);
    QTest::newRow("window end, other today") << "10/10/49" << y2000 << QDate(2049, 10, 10);
    QTest::newRow("one-digit day and month") << "1/2/05" << y2026 << QDate(2005, 2, 1);
    QTest::newRow("box with blanks for digits") << " 1/ 2/05" << y2026 << QDate(2005, 2, 1);
    QTest::newRow("four-digit year") << "01/02/1975" << y2026 << QDate(1975, 2, 1);
    QTest::newRow("iso") << "2026-02-01" << y2026 << QDate(2026, 2, 1);
    QTest::newRow("blanks around") << "  01/02/26  " << y2026 << QDate(2026, 2, 1);
    QTest::newRow("leap day") << "29/02/24" << y2026 << QDate(2024, 2, 29);

    QTest::newRow("empty box") << "  /  /  " << y2026 << QDate();
    QTest::newRow("empty box with underscores") << "__/__/__" << y2026 << QDate();
    QTest::newRow("empty") << "" << y2026 << QDate();
    QTest::newRow("impossible day") << "31/02/05" << y2026 << QDate();
    QTest::newRow("no leap day") << "29/02/25" << y2026 << QDate();
    QTest::newRow("month 13") << "01/13/05" << y2026 << QDate();
    QTest::newRow("impossible iso") << "2026-02-30" << y2026 << QDate();
    QTest::newRow("letters") << "ab/cd/ef" << y2026 << QDate();
    QTest::newRow("half-typed year") << "01/02/0_" << y2026 << QDate();
    QTest::newRow("three-digit year") << "01/02/026" << y2026 << QDate();
    QTest::newRow("two fields") << "01/02" << y2026 << QDate();
    QTest::newRow("four fields") << "01/02/05/07" << y2026 << QDate();
    QTest::newRow("day-month-year with dashes") << "01-02-2005" << y2026 << QDate();
}

void TstDates::parse() {
    QFETCH(QString, text);
    QFETCH(QDate, today);
    QFETCH(QDate, expected);
    QCOMPARE(Dates::parse(text, today), expected);
}

void TstDates::isEmptyBox_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("empty");

    QTest::newRow("blank box") << "  /  /  " << true;
    QTest::newRow("underscores") << "__/__/__" << true;
    QTest::newRow("nothing") << "" << true;
    QTest::newRow("one digit typed") << " 1/  /  " << false;
    QTest::newRow("a date") << "01/02/05" << false;
}

void TstDates::isEmptyBox() {
    QFETCH(QString, text);
    QFETCH(bool, empty);
    QCOMPARE(Dates::isEmptyBox(text), empty);
}

void TstDates::texts_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("iso");
    QTest::addColumn<QString>("shortText");
    QTest::addColumn<QString>("boxText");

    QTest::newRow("padded") << QDate(2026, 3, 5) << "2026-03-05"
                            << "05/03/2026"
                            << "05/03/26";
    QTest::newRow("two digits") << QDate(1999, 12, 31) << "1999-12-31"
                                << "31/12/1999"
                                << "31/12/99";
    QTest::newRow("year 2000") << QDate(2000, 1, 1) << "2000-01-01"
                               << "01/01/2000"
                               << "01/01/00";
}

void TstDates::texts() {
    QFETCH(QDate, date);
    QFETCH(QString, iso);
    QFETCH(QString, shortText);
    QFETCH(QString, boxText);
    QCOMPARE(Dates::toIso(date), iso);
    QCOMPARE(Dates::shortText(date), shortText);
    QCOMPARE(Dates::boxText(date), boxText);
}

void TstDates::invalidTexts() {
    QVERIFY(Dates::toIso(QDate()).isNull());
    QCOMPARE(Dates::shortText(QDate()), QString());
    QCOMPARE(Dates::boxText(QDate()), QStringLiteral("  /  /  "));
    QVERIFY(!Dates::fromIso(QString()).isValid());
    QVERIFY(!Dates::fromIso(QStringLiteral("")).isValid());
    QVERIFY(!Dates::fromIso(QStringLiteral("05/03/2026")).isValid());
}

void TstDates::isoRoundTrip_data() {
    QTest::addColumn<QDate>("date");

    QTest::newRow("recent") << QDate(2026, 3, 5);
    QTest::newRow("leap day") << QDate(2024, 2, 29);
    QTest::newRow("old") << QDate(1901, 1, 1);
    QTest::newRow("far") << QDate(2199, 12, 31);
}

void TstDates::isoRoundTrip() {
    QFETCH(QDate, date);
    QCOMPARE(Dates::fromIso(Dates::toIso(date)), date);
    QCOMPARE(Dates::parse(Dates::shortText(date)), date);
    QCOMPARE(Dates::fromIso(Dates::toIso(date) + QStringLiteral("T10:30:00")), date);
}

void TstDates::boxTextReadsBack() {
    // A date box shows two-digit years; reading them back must land on the same date anywhere
    // in the window around today.
    const QDate today(2026, 6, 15);
    for (const QDate d : {QDate(1976, 1, 1), QDate(2026, 6, 15), QDate(2075, 12, 31)})
        QCOMPARE(Dates::parse(Dates::boxText(d), today), d);
}

QTEST_GUILESS_MAIN(TstDates)
#include "tst_dates.moc"
