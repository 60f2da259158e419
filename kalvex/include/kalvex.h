/*
 * Kalvex: the numeric library of Tessara.
 *
 * C interface of libKalvex.so. Texts are 8-bit and zero-terminated; numbers
 * are doubles; codes are 32-bit integers. Texts returned by the library stay
 * the library's: they remain valid until the next call that returns a text of
 * the same function, and callers copy what they keep.
 *
 * Every operation sets the error state: GetE_Error() is -1 after a successful
 * operation, otherwise the number of the error, whose description is
 * GetE_ErrDescr(number). The library is single-threaded.
 */
#ifndef KALVEX_H
#define KALVEX_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define KALVEX_API __attribute__((visibility("default")))
#else
#define KALVEX_API
#endif

/* Evaluates an expression. The value is written to *value (0 on error).
 * flag 1: statement evaluation (a matrix result is kept and handed out by
 * handle); flag 0: plot sampling (numbers only, nothing is kept).
 * Returns 0 on success, the error number otherwise. */
KALVEX_API int e_eval(const char* text, double* value, int flag);

/* Plot sampling: evaluates text at count values of the variable var, with
 * the values e_eval with flag 0 gives when each x[i] is put in place of var
 * wherever var stands as a name of its own (any case; not where it names a
 * function or a matrix). An empty var binds nothing. No variable of the
 * library is created or changed. y[i] receives the value and valid[i] 1, or
 * y[i] 0 and valid[i] 0 when that evaluation fails. Returns 0 when text is an
 * expression (GetE_Error then reports the outcome of the last sample), else
 * the error number, every valid[i] being 0. */
KALVEX_API int e_evalAt(const char* text, const char* var, const double* x, int count, double* y,
                        unsigned char* valid);

/* -1 after a successful last operation, else the error number. */
KALVEX_API int GetE_Error(void);

/* The description of an error number (of the last error when it is that one,
 * with the position and name it concerns). */
KALVEX_API const char* GetE_ErrDescr(int error);

/* 1 when the last e_eval made a matrix or vector; its value is then a handle
 * whose integer text names the result matrix for FindMatrix (mode 9). 0 for a
 * number. */
KALVEX_API int GetResultType(void);

/* Finds a matrix. mode 33: name is a bracketed matrix name ("[A]"); mode 9:
 * name is the integer text of a result handle. Writes rows and cols and
 * returns the rows * cols elements row after row, or NULL when absent. */
KALVEX_API const double* FindMatrix(const char* name, int mode, int* rows, int* cols);

/* Defines a matrix or vector from a spec "[A]; rows; cols; v11; v12; ...".
 * The two integers are reserved (callers pass 0 and 1). */
KALVEX_API void SetStrMatrix(const char* spec, int reserved0, int reserved1);

/* kind 0: defines the number variable name with the value of the expression
 * text (evaluated now). kind 1: defines the function name (optionally with a
 * parameter list, "f(x)" or "g(x, y)") with the body text. */
KALVEX_API void SetVarFunct(const char* name, const char* text, int kind);

/* kind 0: out is a double* that receives the value of the number variable
 * name. kind 1: out is a char buffer of *len bytes (on entry) that receives
 * the function body, cut to fit and zero-terminated; *len receives the full
 * length of the body. Returns 1 when the name was found, 0 otherwise. */
KALVEX_API int FindVarVal2(const char* name, int kind, void* out, double* len);

/* The whole body text of the function name, or NULL when there is none. */
KALVEX_API const char* GetFunctText(const char* name);

/* Listing of a matrix: one row a line (CR LF), columns aligned, each value
 * with as many decimals as zeroMask ("0." followed by zeros) has zeros.
 * mode is "String"; the two last texts are reserved (pass ""). */
KALVEX_API const char* aPrint(const double* elements, int rows, int cols, const char* mode,
                              const char* zeroMask, const char* reserved1, const char* reserved2);

/* Element order of matrix specs and listings: 0 row after row, 1 column after
 * column. */
KALVEX_API void aElemOrderSet(int order);

/* Reports the element order in force, tested on a 2 x 2 probe stored as
 * {0, 2, 1, 0}: 0 row after row, 1 column after column. */
KALVEX_API int aElemOrderEx(const double* probe, int reserved);

/* The library's about text (lines ending with CR LF). */
KALVEX_API const char* aAbout(int form);

/* Debug switch: non-zero writes a trace of each evaluation to standard error. */
KALVEX_API void SetDebugF(int on);

/* A real root of the polynomial in the variable var (empty: the polynomial's
 * only free name). Errors via GetE_Error. */
KALVEX_API double dSolve(const char* polynomial, const char* var);

/* Definite integral of function in var (empty: its only free name) from a to
 * b over n subintervals: composite trapezoid when trap is non-zero, composite
 * Simpson otherwise; n = 0 asks for adaptive quadrature. */
KALVEX_API void Integrate(const char* function, double a, double b, int n, int trap,
                          const char* var, double* result);

/* The derivative of the polynomial in var as a text that parses back. */
KALVEX_API const char* lPoly_dydx(const char* polynomial, const char* var);

/* Forgets every variable, function and matrix. */
KALVEX_API void ReSetEqParser(void);

/* The library's version as four numbers joined by points, e.g. "1.0.0.0". */
KALVEX_API const char* KalvexVersion(void);

/* Texts of the operators screen: every operator, function and constant the
 * expression language offers, one per line (CR LF). */
KALVEX_API const char* KalvexOperators(void);

#ifdef __cplusplus
}
#endif

#endif
