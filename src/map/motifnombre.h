// Numbers shown with picture patterns such as "###,###,##0" or "#,##0.##": '0' is a
// digit always written, '#' a digit written only when significant, ',' in the
// integer part asks for thousands separators, '.' starts the decimals. Text before
// and after the pattern is copied as it stands ("#0 %)" gives "12 %)").
#pragma once

#include <QString>

// The thousands separator of the French texts (narrow no-break space).
constexpr char16_t SeparateurMilliers = 0x202F;

// `v` rounded half away from zero to the pattern's decimals. A pattern without any
// '0' writes nothing for a value that rounds to 0 ("###" gives "" for 0.2). The
// decimal mark is the system's (data/decimal.h).
QString formatMotif(double v, const QString& motif);
