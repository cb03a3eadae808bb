// Line breaks of the organisation name as the rich-edit field wants them.
#include "app/organisation_name_edit.h"

void OrganisationNameForEdit(const char* stored, char* out, size_t outSize) {
    if (outSize == 0) return;
    size_t n = 0;
    for (const char* p = stored; *p; ++p) {
        bool lineBreak = *p == '\n' || (*p == ' ' && p[1] == '\n') || (*p == '\r' && p[1] == '\n');
        if (lineBreak) {
            if (*p != '\n') ++p;  // the blank or CR that stands for the CR
            if (n + 2 >= outSize) break;
            out[n++] = '\r';
            out[n++] = '\n';
        } else {
            if (n + 1 >= outSize) break;
            out[n++] = *p;
        }
    }
    out[n] = 0;
}
