// Per-call cost of the number text conversions and of the dilution arithmetic, called as the
// calculator calls them (in the user's locale, its symbols taken once).

#include "dilution.h"
#include "numbertext.h"
#include "summary.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>

namespace {

const QString PlainNumber = QStringLiteral("1234.5678");
const QString ExponentNumber = QStringLiteral("2.5E-3");
const QString NotANumber = QStringLiteral("12.5 ml");

void BM_toDouble_plain(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(forms::toDouble(PlainNumber));
}

void BM_toDouble_exponent(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(forms::toDouble(ExponentNumber));
}

void BM_isNumeric_number(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(forms::isNumeric(PlainNumber));
}

void BM_isNumeric_text(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(forms::isNumeric(NotANumber));
}

void BM_numberToText_plain(benchmark::State &state)
{
    double value = 6.666666666666667;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(forms::numberToText(value));
    }
}

void BM_numberToText_exponent(benchmark::State &state)
{
    double value = 5.6789e-12;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(forms::numberToText(value));
    }
}

void BM_CalculateDilution(benchmark::State &state)
{
    double stock = 12.5, wanted = 0.75, volume = 100;
    for (auto _ : state) {
        benchmark::DoNotOptimize(stock);
        benchmark::DoNotOptimize(wanted);
        benchmark::DoNotOptimize(volume);
        benchmark::DoNotOptimize(CalculateDilution(stock, wanted, volume));
    }
}

} // namespace

BENCHMARK(BM_toDouble_plain)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_toDouble_exponent)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_isNumeric_number)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_isNumeric_text)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_numberToText_plain)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_numberToText_exponent)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_CalculateDilution)->Repetitions(3)->ReportAggregatesOnly(true);

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    benchsummary::MedianCollector collector;
    if (!benchsummary::run(argc, argv, collector))
        return 1;

    using benchsummary::printFigure;
    const auto ns = [&](const char *name) { return collector.nanoseconds(name); };
    std::printf("\nSummary: number text and arithmetic (locale %s), median wall time per call\n",
                qPrintable(QLocale().name()));
    printFigure("toDouble(\"1234.5678\")", ns("BM_toDouble_plain"), 100);
    printFigure("toDouble(\"2.5E-3\")", ns("BM_toDouble_exponent"), 100);
    printFigure("isNumeric(\"1234.5678\")", ns("BM_isNumeric_number"), 100);
    printFigure("isNumeric(\"12.5 ml\")", ns("BM_isNumeric_text"), 100);
    printFigure("numberToText(6.666666666666667)", ns("BM_numberToText_plain"), 100);
    printFigure("numberToText(5.6789E-12)", ns("BM_numberToText_exponent"), 100);
    printFigure("CalculateDilution(12.5, 0.75, 100)", ns("BM_CalculateDilution"));
    return 0;
}
