#pragma once

#include "tags/tagpattern.h"

#include <QString>

// The C library declares a function named rename(), so this folder's namespace is "renaming".
namespace renaming {

// The name operations, in the order of their option buttons; DapresTag ("D'après le tag")
// names the file from its tags through a pattern (see tags::formatName).
enum class Operation { Supprimer, Remplacer, Lettrage, Inverser, Manuellement, Ajouter, DapresTag };

// Case rules of the name part ("Lettrage", first list); the extension list stops at Initiales.
enum CaseRule {
    NePasChanger = 0,
    Majuscule = 1,
    Minuscule = 2,
    Initiales = 3,  // first character and every character after a blank in upper case
    PremierMot = 4, // first character upper case, all the others lower case
};

// Swap rules ("Inverser").
enum SwapRule {
    ArtisteTitre = 0,     // "Artiste - Titre" <--> "Titre - Artiste"
    TitreParentheses = 1, // "Titre (Artiste)" --> "Artiste - Titre"
};

// The settings of the renaming page; the initial values are those the page starts with.
struct RenameSettings
{
    Operation operation = Operation::Supprimer;
    int nombre = 0;                             // N: characters to delete
    int position = 0;                           // P: position after which to delete
    QString recherche;                          // S: text searched by "Remplacer"
    QString remplacement = QStringLiteral("-"); // R: only its first character is used
    int lettrageNom = NePasChanger;             // case rule of the name part, 0 to 4
    int lettrageExt = NePasChanger;             // case rule of the extension, 0 to 3
    int inversion = ArtisteTitre;               // swap rule, 0 or 1
    QString nomManuel;                          // whole new name for "Manuellement"
    QString avant;                              // text put before the name for "Ajouter"
    QString apres;                              // text put after the name for "Ajouter"
    QString modele; // pattern of "D'après le tag", such as "%artiste%/%piste:2% %titre%"
};

} // namespace renaming
