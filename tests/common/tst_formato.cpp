#include "common/Formato.h"

#include <QtTest>
#include <cmath>

using namespace Formato;

class TstFormato : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formatFloat_data();
    void formatFloat();
    void ignoresMachineLocale();
    void money();
    void round2_data();
    void round2();
    void parseNumber_data();
    void parseNumber();
};

void TstFormato::formatFloat_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const QString decimal1 = QStringLiteral("###,###,###,##0.0;-###,###,###,##0.0;0");

    QTest::newRow("money plain") << kMoneda << 123.0 << "123,00";
    QTest::newRow("money below one") << kMoneda << 0.5 << "0,50";
    QTest::newRow("money one thousand") << kMoneda << 1000.0 << "1.000,00";
    QTest::newRow("money below a thousand") << kMoneda << 999.99 << "999,99";
    QTest::newRow("money one million") << kMoneda << 1000000.0 << "1.000.000,00";
    QTest::newRow("money billions") << kMoneda << 1234567890.12 << "1.234.567.890,12";
    QTest::newRow("money beyond the format's places")
        << kMoneda << 12345678901234.0 << "12.345.678.901.234,00";
    QTest::newRow("money negative") << kMoneda << -1234.5 << "-1.234,50";
    QTest::newRow("money zero") << kMoneda << 0.0 << "0";
    QTest::newRow("money rounds to zero") << kMoneda << 0.001 << "0";
    QTest::newRow("money negative rounds to zero") << kMoneda << -0.004 << "0";
    QTest::newRow("money negative half cent") << kMoneda << -0.005 << "-0,01";
    QTest::newRow("money half up 2.675") << kMoneda << 2.675 << "2,68";
    QTest::newRow("money half up 1.005") << kMoneda << 1.005 << "1,01";
    QTest::newRow("money negative half away") << kMoneda << -2.675 << "-2,68";
    QTest::newRow("money carry into a new group") << kMoneda << 999.995 << "1.000,00";
    QTest::newRow("money carry into millions") << kMoneda << -999999.999 << "-1.000.000,00";

    QTest::newRow("integer grouping") << kEntero << 1234.0 << "1.234";
    QTest::newRow("integer half up") << kEntero << 1234.5 << "1.235";
    QTest::newRow("integer negative half away") << kEntero << -1234.5 << "-1.235";
    QTest::newRow("integer below half is zero") << kEntero << 0.4 << "0";
    QTest::newRow("integer minus half") << kEntero << -0.5 << "-1";
    QTest::newRow("integer carry to million") << kEntero << 999999.5 << "1.000.000";

    QTest::newRow("one decimal") << decimal1 << 12.25 << "12,3";
    QTest::newRow("one decimal on the decimal text") << decimal1 << 1000.05 << "1.000,1";
    QTest::newRow("one decimal negative") << decimal1 << -7.0 << "-7,0";
    QTest::newRow("one decimal rounds to zero") << decimal1 << -0.04 << "0";

    QTest::newRow("single section negative") << "0.00" << -0.125 << "-0,13";
    QTest::newRow("single section negative zero") << "0.00" << -0.004 << "0,00";
    QTest::newRow("single section grouping") << "#,##0" << -1234567.0 << "-1.234.567";
    QTest::newRow("optional decimals dropped") << "#.##" << 2.0 << "2";
    QTest::newRow("optional decimals kept") << "#.##" << 1.5 << "1,5";
    QTest::newRow("required then optional") << "0.0#" << 2.1 << "2,1";
    QTest::newRow("required then optional rounded") << "0.0#" << 2.125 << "2,13";
    QTest::newRow("optional integer at zero") << "#.00" << 0.25 << ",25";
    QTest::newRow("leading zeros") << "000" << 7.0 << "007";

    QTest::newRow("two sections zero uses first") << "0.00;(0.00)" << 0.0 << "0,00";
    QTest::newRow("two sections negative") << "0.00;(0.00)" << -3.5 << "(3,50)";
    QTest::newRow("empty negative section") << "0.0;;'cero'" << -2.0 << "-2,0";
    QTest::newRow("quoted zero section") << "0.0;;'cero'" << 0.0 << "cero";

    QTest::newRow("quoted suffix") << "#,##0.00' €'" << 1234.5 << "1.234,50 €";
    QTest::newRow("double-quoted suffix") << "#,##0 \"kms\"" << 98765.0 << "98.765 kms";
    QTest::newRow("bare literals") << "#,##0 km" << 1234.0 << "1.234 km";
    QTest::newRow("literal prefix, sign first") << "'Total: '0" << -5.0 << "-Total: 5";
    QTest::newRow("semicolon inside quotes") << "0' a;b';-0" << 5.0 << "5 a;b";
}

void TstFormato::formatFloat() {
    QFETCH(QString, format);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(Formato::formatFloat(format, value), expected);
}

void TstFormato::ignoresMachineLocale() {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString text = Formato::formatFloat(kMoneda, 1234567.891);
    QLocale::setDefault(saved);
    QCOMPARE(text, QStringLiteral("1.234.567,89"));
}

void TstFormato::money() {
    QCOMPARE(Formato::money(1234.5, QStringLiteral("€")), QStringLiteral("1.234,50 €"));
    QCOMPARE(Formato::money(-0.001, QStringLiteral("Pts")), QStringLiteral("0 Pts"));
    QCOMPARE(Formato::money(3.0, QString()), QStringLiteral("3,00 "));
}

void TstFormato::round2_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("1233.335") << 1233.335 << 1233.34;
    QTest::newRow("2.675") << 2.675 << 2.68;
    QTest::newRow("-2.675") << -2.675 << -2.68;
    QTest::newRow("1.005") << 1.005 << 1.01;
    QTest::newRow("below half") << 1.004999 << 1.0;
    QTest::newRow("sum with binary noise") << 0.1 + 0.2 << 0.3;
    QTest::newRow("carry") << 9.995 << 10.0;
    QTest::newRow("already cents") << 19.99 << 19.99;
    QTest::newRow("large") << 12345678.905 << 12345678.91;
    QTest::newRow("negative to zero has no sign") << -0.004 << 0.0;
}

void TstFormato::round2() {
    QFETCH(double, value);
    QFETCH(double, expected);
    const double got = Formato::round2(value);
    // Exactly the double nearest the cents, not merely close to it.
    QVERIFY2(got == expected, qPrintable(QString::number(got, 'g', 17)));
    QCOMPARE(std::signbit(got), std::signbit(expected));
}

void TstFormato::parseNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("expected");

    QTest::newRow("grouped with comma") << "1.234,56" << true << 1234.56;
    QTest::newRow("comma decimals") << "1234,56" << true << 1234.56;
    QTest::newRow("point decimals") << "1234.56" << true << 1234.56;
    QTest::newRow("point and three digits groups") << "1.234" << true << 1234.0;
    QTest::newRow("several groups") << "1.234.567" << true << 1234567.0;
    QTest::newRow("several groups and decimals") << "1.234.567,8" << true << 1234567.8;
    QTest::newRow("zero point three digits") << "0.125" << true << 0.125;
    QTest::newRow("long integer then point") << "1234.567" << true << 1234.567;
    QTest::newRow("negative") << "-12,5" << true << -12.5;
    QTest::newRow("plus sign") << "+3" << true << 3.0;
    QTest::newRow("blanks around") << "  7 " << true << 7.0;
    QTest::newRow("no integer digits") << ",5" << true << 0.5;
    QTest::newRow("trailing comma") << "12," << true << 12.0;

    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks") << "   " << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("digits then letter") << "12a" << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("bad grouping") << "1.23,4" << false << 0.0;
    QTest::newRow("bad second group") << "1.234.56" << false << 0.0;
    QTest::newRow("point after comma") << "1,234.5" << false << 0.0;
    QTest::newRow("sign alone") << "-" << false << 0.0;
    QTest::newRow("double sign") << "--5" << false << 0.0;
    QTest::newRow("separators only") << ".," << false << 0.0;
    QTest::newRow("blank inside") << "1 234" << false << 0.0;
}

void TstFormato::parseNumber() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, expected);
    const std::optional<double> got = Formato::parseNumber(text);
    QCOMPARE(got.has_value(), valid);
    if (valid)
        QVERIFY2(*got == expected, qPrintable(QString::number(*got, 'g', 17)));
}

QTEST_GUILESS_MAIN(TstFormato)
#include "tst_formato.moc"
