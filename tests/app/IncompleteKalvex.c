/* A numeric library that exports only its evaluator: the program must refuse
 * to start with it and name the first missing function. Built as C against
 * kalvex.h, so that the interface header stays valid C. */
#include "kalvex.h"

int e_eval(const char* text, double* value, int flag) {
    (void)text;
    (void)flag;
    *value = 0;
    return 0;
}
