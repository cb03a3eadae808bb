#pragma once
// The program's version as its file properties and the installer show it;
// the about box says the same "5.00". Also read by scripts/package.

#define ORLA_VERSION_TEXT "5.00"
#define ORLA_VERSION_NUMBERS 5, 0, 0, 0
#define ORLA_PRODUCT_NAME "ОРЛА-К200В"
#define ORLA_FILE_DESCRIPTION "ОРЛА-К200В - испытание трансформаторного масла на пробой"
#define ORLA_EXE_NAME "ORLA-K200V.exe"
