/* A numeric library that exports only its evaluator: the program must refuse
 * to start with it and name the first missing function. */
__attribute__((visibility("default"))) int e_eval(const char* text, double* value, int flag) {
    (void)text;
    (void)flag;
    *value = 0;
    return 0;
}
