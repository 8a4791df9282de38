/* The window titles of the screen saver control panel, by system language:
   the launcher waits for them after opening the panel, the installer closes
   a panel that shows them. Included by both programs' resource scripts, so it
   holds only definitions. The English titles are program constants (and the
   installer's string table entries); the others live in the launcher's string
   table, spelt in the code page of their language (octal escapes keep the
   bytes exact): code page 1252 for the Western languages, 932 for Japanese. */
#ifndef SAVER_COMMON_CONTROL_PANEL_TITLES_H
#define SAVER_COMMON_CONTROL_PANEL_TITLES_H

#define ENGLISH_FIRST_TITLE "Display Properties"
#define ENGLISH_SECOND_TITLE "Screen Saver Settings"

/* String ids: first title of language index i at 100 + i, second at 200 + i. */
#define IDS_FIRST_TITLE_BASE 100
#define IDS_SECOND_TITLE_BASE 200

#define IDS_CATALAN_FIRST_TITLE 101
#define IDS_SPANISH_FIRST_TITLE 102
#define IDS_FRENCH_FIRST_TITLE 103
#define IDS_GERMAN_FIRST_TITLE 104
#define IDS_DUTCH_FIRST_TITLE 105
#define IDS_JAPANESE_FIRST_TITLE 106
#define IDS_PORTUGUESE_FIRST_TITLE 107
#define IDS_CATALAN_SECOND_TITLE 201
#define IDS_SPANISH_SECOND_TITLE 202
#define IDS_FRENCH_SECOND_TITLE 203
#define IDS_GERMAN_SECOND_TITLE 204
#define IDS_DUTCH_SECOND_TITLE 205
#define IDS_JAPANESE_SECOND_TITLE 206
#define IDS_PORTUGUESE_SECOND_TITLE 207

/* Code page 1252 */
#define CATALAN_FIRST_TITLE "Mostrar propietats"
#define CATALAN_SECOND_TITLE "Screen Saver Settings"
#define SPANISH_FIRST_TITLE "Propiedades de pantalla"
#define SPANISH_SECOND_TITLE "Screen Saver Settings"
#define FRENCH_FIRST_TITLE "Afficher propri\351t\351s"
#define FRENCH_SECOND_TITLE "Param\350tres de l'\351cran de veille"
#define GERMAN_FIRST_TITLE "Eigenschaften von Anzeige"
#define GERMAN_SECOND_TITLE "Bildschirmschonereinstellungen"
#define DUTCH_FIRST_TITLE "display eigenschappen "
#define DUTCH_SECOND_TITLE "Eigenschappen screensaver"
#define PORTUGUESE_FIRST_TITLE "Propriedades de v\355deo"
#define PORTUGUESE_SECOND_TITLE "Screen Saver Settings"

/* Code page 932 */
#define JAPANESE_FIRST_TITLE "\211\346\226\312\202\314\203\166\203\215\203\160\203\145\203\102"
#define JAPANESE_SECOND_TITLE \
  "\203\130\203\116\203\212\201\133\203\223\040\203\132\201\133\203\157\201\133\202\314\220\335\222\350"

#endif
