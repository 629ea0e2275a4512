#pragma once

#include <QString>
#include <QStringList>

// Texts that trip filters up: letter case beyond A-Z, accents, the Kelvin sign that folds to "k",
// LIKE's and the pattern's own characters, an empty text. A faster filter must keep exactly the
// rows the pattern function keeps on them.
namespace PatternSamples {

inline QStringList texts()
{
    return {"Advanced Maths",
            "advanced physics",
            QString::fromUtf8("ÀDVANCED"),
            QString::fromUtf8("àdvanced"),
            "Kelvin",
            QString::fromUtf8("\u212Aelvin scale"),
            "kettle",
            "50% Off",
            "5_0 Off",
            "50x Off",
            "[Draft]",
            "*Star",
            "?Query",
            "#1 Hits",
            "Back\\slash",
            QString::fromUtf8("İstanbul"),
            "istanbul",
            QString::fromUtf8("Éclair"),
            QString::fromUtf8("éclair"),
            "",
            "k",
            QString::fromUtf8("😀 Smile"),
            "Ad",
            "a"};
}

// Prefixes typed into a filter box over texts().
inline QStringList typed()
{
    return {"",
            "a",
            "A",
            "adv",
            "ADVANCED M",
            QString::fromUtf8("À"),
            QString::fromUtf8("à"),
            "k",
            "K",
            QString::fromUtf8("\u212A"),
            "kel",
            "50%",
            "5_",
            "50_",
            "[",
            "[d",
            "*",
            "?",
            "#",
            "\\",
            QString::fromUtf8("é"),
            QString::fromUtf8("É"),
            "i",
            QString::fromUtf8("İ"),
            QString::fromUtf8("😀"),
            "x",
            "%",
            "_",
            "ad",
            "Advanced Maths and more"};
}

} // namespace PatternSamples
