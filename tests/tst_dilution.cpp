#include "dilution.h"

#include <QTest>

#include <cfloat>
#include <cmath>
#include <limits>

class tst_Dilution : public QObject
{
    Q_OBJECT

private slots:
    void volumes_data();
    void volumes();
    void roundsEachStepToDouble();
};

static constexpr double Infinity = std::numeric_limits<double>::infinity();

// A product or quotient beyond a double's range is no error while it is intermediate: only the
// stored results overflow or underflow.
static void addUnboundedRows()
{
    QTest::newRow("product overflows, quotient fits") << 1e200 << 1e200 << 1e200 << 1e200 << 0.0;
    QTest::newRow("product underflows, quotient fits")
        << 1e-200 << 1e-200 << 1e-200 << 1e-200 << 0.0;
    QTest::newRow("tiny stock overflows the result")
        << 1e-300 << 1e10 << 1e10 << Infinity << -Infinity;
    QTest::newRow("huge volume overflows the result")
        << 0.5 << 1e300 << 1e10 << Infinity << -Infinity;
    QTest::newRow("result underflows to zero") << 1e300 << 1e-300 << 1e-100 << 0.0 << 1e-100;
    // Powers of two keep the subnormal result exact.
    QTest::newRow("result is subnormal")
        << std::ldexp(1.0, 1000) << std::ldexp(1.0, -20) << std::ldexp(1.0, -20)
        << std::ldexp(1.0, -1040) << std::ldexp(1.0, -20);
    QTest::newRow("diluent overflows as well") << 0.5 << -1.0 << DBL_MAX << -Infinity << Infinity;
}

void tst_Dilution::volumes_data()
{
    QTest::addColumn<double>("stock");
    QTest::addColumn<double>("final");
    QTest::addColumn<double>("volume");
    QTest::addColumn<double>("stockVolume");
    QTest::addColumn<double>("diluentVolume");
    QTest::newRow("ten-fold") << 10.0 << 1.0 << 100.0 << 10.0 << 90.0;
    // The diluent is the volume less the unrounded stock volume.
    QTest::newRow("thirds") << 3.0 << 1.0 << 10.0 << 10.0 / 3.0 << 10.0 - 10.0 / 3.0;
    QTest::newRow("final above stock") << 1.0 << 2.0 << 10.0 << 20.0 << -10.0;
    QTest::newRow("negative stock") << -4.0 << 1.0 << 8.0 << -2.0 << 10.0;
    QTest::newRow("zero volume") << 5.0 << 1.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("negative zero stock volume") << 5.0 << -1.0 << 0.0 << -0.0 << 0.0;
    addUnboundedRows();
}

void tst_Dilution::volumes()
{
    QFETCH(double, stock);
    QFETCH(double, final);
    QFETCH(double, volume);
    QFETCH(double, stockVolume);
    QFETCH(double, diluentVolume);
    const Dilution d = CalculateDilution(stock, final, volume);
    QCOMPARE(d.stockVolume, stockVolume);
    QCOMPARE(d.diluentVolume, diluentVolume);
}

// Within a double's range the result is exactly that of plain double arithmetic, whose every
// operation rounds correctly once.
void tst_Dilution::roundsEachStepToDouble()
{
    const double values[] = {0.1, 0.3, 7.0, 1.0 / 3.0, 123456.789, 2.5e-8, 6.02e23, -42.125};
    for (double c1 : values) {
        for (double c2 : values) {
            for (double v : values) {
                const double q = (c2 * v) / c1;
                const Dilution d = CalculateDilution(c1, c2, v);
                QCOMPARE(d.stockVolume, q);
                QCOMPARE(d.diluentVolume, v - q);
            }
        }
    }
}

QTEST_GUILESS_MAIN(tst_Dilution)
#include "tst_dilution.moc"
