#include <gtest/gtest.h>

#include <QLocale>

#include "commands/tfcomandosadicionais.h"
#include "core/datahora.h"

using namespace uComandosAdicionais;

TEST(DataHora, PrinterBuffersReadOnlyAsRealDatesAndTimes) {
    EXPECT_EQ(dataDoBuffer("290212"), QStringLiteral("29/02/12"));
    EXPECT_EQ(horaDoBuffer("100920231530", 7), QStringLiteral("23:15:30"));
    EXPECT_EQ(dataDoBuffer("      "), QStringLiteral("  /  /  "));

    EXPECT_EQ(dataDeTexto(QStringLiteral("29/02/12")), QDate(2012, 2, 29));
    EXPECT_EQ(horaDeTexto(QStringLiteral("23:59:59")), QTime(23, 59, 59));
    for (const char* data : {"  /  /  ", "29/02/13", "00/00/00", "1/02/12", "01-02-12", "01/02/2012", ""})
        EXPECT_FALSE(dataDeTexto(QString::fromLatin1(data))) << data;
    for (const char* hora : {"  :  :  ", "24:00:00", "12:60:00", "1a:00:00", "12:00", ""})
        EXPECT_FALSE(horaDeTexto(QString::fromLatin1(hora))) << hora;
}

TEST(DataHora, TextsAreDayMonthYearWhateverTheLocale) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(textoData(QDate(2012, 3, 5)), QStringLiteral("05/03/12"));
    EXPECT_EQ(textoHora(QTime(7, 4, 9)), QStringLiteral("07:04:09"));
    QLocale::setDefault(QLocale::c());
}

TEST(DataHora, TheDifferenceLabelShowsAtLeastTwoDigitsOfDays) {
    EXPECT_EQ(textoDiferenca(0), QStringLiteral("00 Dias            00 Horas\r00 Minutos     00 Segundos"));
    EXPECT_EQ(textoDiferenca(5 * 86400 + 3723),
              QStringLiteral("05 Dias            01 Horas\r02 Minutos     03 Segundos"));
    EXPECT_EQ(textoDiferenca(-(12 * 86400 + 86399)),
              QStringLiteral("12 Dias            23 Horas\r59 Minutos     59 Segundos"));
    EXPECT_EQ(textoDiferenca(123 * 86400LL + 60),
              QStringLiteral("123 Dias            00 Horas\r01 Minutos     00 Segundos"));
}

TEST(DataHora, DiferencaHorasIsTheTrueDifferenceAlsoAcrossMidnight) {
    EXPECT_EQ(DiferencaHoras(QStringLiteral("10:15:00"), QStringLiteral("11:20:05")), QStringLiteral("01:05:05"));
    EXPECT_EQ(DiferencaHoras(QStringLiteral("10:15:00"), QStringLiteral("10:15:00")), QStringLiteral("00:00:00"));
    EXPECT_EQ(DiferencaHoras(QStringLiteral("23:50:00"), QStringLiteral("00:10:00")), QStringLiteral("00:20:00"));
    EXPECT_EQ(DiferencaHoras(QStringLiteral("00:00:01"), QStringLiteral("00:00:00")), QStringLiteral("23:59:59"));
    EXPECT_EQ(DiferencaHoras(QStringLiteral("  :  :  "), QStringLiteral("00:10:00")), QString());
}
