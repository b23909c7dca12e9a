#pragma once

#include <cstdint>

#include "runtime/Date.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"
#include "runtime/GlobalVariables.h"
#include "runtime/TimeOfDay.h"

// The program-wide variables, shared by every procedure thread (only one runs at a time).
// Code reads them as the program writes them: GLO.OdSkupine is GLO:OdSkupine. Expressions and
// forms reach them by name through the installed catalogue, which programCatalogue() fills with
// programGlobalNames().
//
// Each entry: the name after "GLO:" (spelled as the program spells it) and the C++ type.
// Settings of the suite that this program only reads carry names of our choosing, after their
// settings entry.
#define DV_PROGRAM_GLOBALS(X)                                         \
    /* stocktake settings, edited by ParametriInventure */            \
    X(SIFRALASTNIKAPROGRAMA, std::uint32_t)                           \
    X(VRSTAPROMETAINVMANJKOVP, std::int32_t)                          \
    X(VRSTAPROMETAINVVISEKVP, std::uint16_t)                          \
    X(VRSTAPROMETAINVMANJKOMP, std::uint16_t)                         \
    X(VRSTAPROMETAINVVISEKMP, std::uint16_t)                          \
    /* program settings, edited by NastavitvePrograma */              \
    X(VRSTAPZAC, FixedText<1>)                                        \
    X(ENOTAZAC, std::int16_t)                                         \
    X(OZNAKAZAC, FixedText<3>)                                        \
    X(VRSTAPROMETAZAC, std::int16_t)                                  \
    X(POTARHIVZAJEMAASCII, FixedText<119>)                            \
    X(PREDLAGANDEFAULTPOPIS, std::uint8_t)                            \
    /* terminal settings, edited by ParametriTerminal */              \
    X(MAPADATOTEKETERMINALA, FixedText<119>)                          \
    X(DOLZINAEAN, std::int16_t)                                       \
    /* settings of other programs of the suite, read only */          \
    X(SIFRADAVCNA, std::uint8_t)                                      \
    X(KOPIJEIZPISAMP, std::int32_t)                                   \
    X(OSNOVNOSKLADISCE, std::int32_t)                                 \
    X(ENOSKLADISCE, FixedText<3>)                                     \
    X(VRSTAPROMETARACUN, std::int32_t)                                \
    X(VRSTAPROMETANABAVA, std::int32_t)                               \
    X(VRSTAPROMETADOBAVNICA, std::int32_t)                            \
    X(NACINVODENJAZALOG, FixedText<4>)                                \
    X(DATUMZAKLJUCENEMESECNEOBDELAVE, DayNumber)                      \
    X(DATUMDOVOLJENEOBDELAVE, DayNumber)                              \
    X(KRAJIZDAJEDOKUMENTA, FixedText<20>)                             \
    X(PARTNERJIFIN, FixedText<1>)                                     \
    X(CENEGESLO, std::int32_t)                                        \
    X(SIFRADDV, std::int32_t)                                         \
    X(SIFRAEM, std::int32_t)                                          \
    X(MARZANADEBELO, FixedDecimal<7, 2>)                              \
    X(MARZANADROBNO, FixedDecimal<7, 2>)                              \
    X(MEJNAMARZA, FixedDecimal<7, 2>)                                 \
    X(DEALERMARZA, FixedDecimal<7, 2>)                                \
    X(NABAVNAENAKAPRODAJNI, FixedText<3>)                             \
    X(PODGRUPADOBAVITELJ, std::uint32_t)                              \
    X(PAPIR, std::int32_t)                                            \
    X(DATUMBACKUP, DayNumber)                                         \
    X(URABACKUP, TimeValue)                                           \
    X(DAVCNABLAGAJNANASTAVITVE, FixedText<100>)                       \
    X(KONZOLA, std::int32_t)                                          \
    X(STEVILCENJE, FixedText<2>)                                      \
    X(NAPRAVA, FixedText<20>)                                         \
    X(PROSTOR, FixedText<20>)                                         \
    /* the company record (APPINS), copied at start */                \
    X(NAZIVFIRME, FixedText<40>)                                      \
    X(NAZIVIIDEL, FixedText<40>)                                      \
    X(NASLOVFIRME, FixedText<40>)                                     \
    X(POSTAKRAJ, FixedText<30>)                                       \
    X(TELEFON_1, FixedText<20>)                                       \
    X(TELEFON_2, FixedText<20>)                                       \
    X(TELEFAKS, FixedText<20>)                                        \
    X(E_MAIL, FixedText<30>)                                          \
    X(SPLETNINASLOV, FixedText<40>)                                   \
    X(PODPISNIK, FixedText<40>)                                       \
    X(TITULAPODPISNIKA, FixedText<20>)                                \
    X(DAVCNASTEVILKA, std::int32_t)                                   \
    X(ZAVEZANEC, FixedText<1>)                                        \
    X(OSNOVNIKAPITAL, FixedDecimal<11, 2>)                            \
    X(SIFRADEJAVNOSTI, FixedText<20>)                                 \
    X(STEVILKASRG, FixedText<20>)                                     \
    X(DATUMSRG, DayNumber)                                            \
    X(REGISTRACIJAPRISODISCU, FixedText<30>)                          \
    X(SIFRAPOSLOVNEGARACUNA, std::uint16_t)                           \
    X(DNIVALUTE, std::uint16_t)                                       \
    X(LOGOTIP1, FixedText<100>)                                       \
    X(LOGOTIP2, FixedText<100>)                                       \
    X(LOGOTIPZIG, FixedText<100>)                                     \
    X(LOGOTIPPODPIS, FixedText<100>)                                  \
    /* selections and working values of option windows and reports */ \
    X(OdSkupine, std::uint16_t)                                       \
    X(DoSkupine, std::uint16_t)                                       \
    X(OdNaziva, FixedText<20>)                                        \
    X(DoNaziva, FixedText<20>)                                        \
    X(OdDatuma, DayNumber)                                            \
    X(DoDatuma, DayNumber)                                            \
    X(ODSIFRE, std::uint32_t)                                         \
    X(DOSIFRE, std::uint32_t)                                         \
    X(ODPOSTE, FixedText<20>)                                         \
    X(DOPOSTE, FixedText<20>)                                         \
    X(SifraSkupine, std::uint16_t)                                    \
    X(DIDEROVIV, std::uint16_t)                                       \
    X(ENOTAINV, std::int16_t)                                         \
    X(VRSTAINV, FixedText<1>)                                         \
    X(StevilkaDokumenta, std::int32_t)                                \
    X(DATUM, DayNumber)                                               \
    X(DATUMRACUNA, DayNumber)                                         \
    X(DANES, DayNumber)                                               \
    X(KOLICINA, FixedDecimal<9, 3>)                                   \
    X(SORT, std::uint8_t)                                             \
    X(NAZIVIZPISA, FixedText<100>)                                    \
    X(OPOMBEDOK1, FixedText<140>)                                     \
    X(OPOMBEDOK2, FixedText<140>)                                     \
    X(OPOMBEDOK3, FixedText<140>)                                     \
    X(OPOMBEDOK4, FixedText<140>)                                     \
    X(OPOMBEDOK5, FixedText<140>)                                     \
    X(CHECKBOX1, std::uint8_t)                                        \
    X(CHECKBOX2, std::uint8_t)                                        \
    X(CHECKBOX3, std::uint8_t)                                        \
    X(ZADNJIKUPEC, std::uint32_t)                                     \
    X(ZADNJIDOBAVITELJ, std::uint32_t)                                \
    X(ZADNJIDOBAVITELJKUPEC, std::uint32_t)                           \
    X(NAZIVDOBAVITELJA, FixedText<40>)

// Program-wide values that the program names without the GLO: prefix.
#define DV_PROGRAM_VALUES(X)                                     \
    /* set when a stocktake was chosen in IzborGlaveInventure */ \
    X(StocktakeChosen, std::uint8_t)                             \
    /* the posting of stocktake differences */                   \
    X(PostingChairman, FixedText<20>)                            \
    X(PostingStarted, FixedText<1>)                              \
    /* the item card's unit and item, set by whoever opens it */ \
    X(CardUnit, std::uint16_t)                                   \
    X(CardItem, FixedText<13>)

namespace dv {

#define DV_GLOBAL_MEMBER(name, ...) __VA_ARGS__ name{};
struct ProgramGlobals {
    DV_PROGRAM_GLOBALS(DV_GLOBAL_MEMBER)
    DV_PROGRAM_VALUES(DV_GLOBAL_MEMBER)
};
#undef DV_GLOBAL_MEMBER

extern ProgramGlobals GLO;

// Every variable cleared: texts to blanks, numbers and dates to 0 (start-up).
void clearProgramGlobals();

// The variables by name: "GLO:OdSkupine" and the others with the prefix, the program-wide
// values (StocktakeChosen, ...) by their plain names.
const GlobalVariables& programGlobalNames();

}  // namespace dv
