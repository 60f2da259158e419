/*
 * Kalvex: the numeric library of Tessara.
 *
 * C interface of libKalvex.so. Texts are 8-bit and zero-terminated; numbers
 * are doubles; codes are 32-bit integers. Texts returned by the library stay
 * the library's: they remain valid until the next call that returns a text of
 * the same function, and callers copy what they keep.
 *
 * Every operation sets the error state: GetE_Error() is KALVEX_NO_ERROR (-1)
 * after a successful operation, otherwise the number of the error, whose
 * description is GetE_ErrDescr(number). The library is single-threaded.
 */
#ifndef KALVEX_H
#define KALVEX_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && defined(KALVEX_BUILDING)
#define KALVEX_API __declspec(dllexport)
#elif defined(__GNUC__) && !defined(_WIN32)
#define KALVEX_API __attribute__((visibility("default")))
#else
#define KALVEX_API
#endif

/* What GetE_Error() reports: KALVEX_NO_ERROR after a successful operation,
 * else one of the error numbers, whose general title GetE_ErrDescr gives. */
enum KalvexError {
    KALVEX_NO_ERROR = -1,
    KALVEX_E_SYNTAX = 1,            /* Syntax error */
    KALVEX_E_UNKNOWN_NAME = 2,      /* Unknown name */
    KALVEX_E_ARGUMENT_COUNT = 3,    /* Wrong number of arguments */
    KALVEX_E_DIVISION_BY_ZERO = 4,  /* Division by zero */
    KALVEX_E_DOMAIN = 5,            /* Domain error */
    KALVEX_E_OUT_OF_RANGE = 6,      /* Number out of range */
    KALVEX_E_TOO_DEEP = 7,          /* Nesting too deep */
    KALVEX_E_TOO_LONG = 8,          /* Expression too long */
    KALVEX_E_SHAPE = 9,             /* Matrix sizes do not match */
    KALVEX_E_UNKNOWN_MATRIX = 10,   /* Unknown matrix */
    KALVEX_E_SINGULAR = 11,         /* Singular matrix */
    KALVEX_E_MATRIX_SPEC = 12,      /* Invalid matrix spec */
    KALVEX_E_RECURSION = 13,        /* Recursion too deep */
    KALVEX_E_NO_REAL_ROOT = 14,     /* No real root */
    KALVEX_E_NOT_POLYNOMIAL = 15,   /* Not a polynomial */
    KALVEX_E_BAD_ARGUMENT = 16,     /* Invalid argument */
    KALVEX_E_BAD_NAME = 17,         /* Invalid name */
    KALVEX_E_EMPTY = 18,            /* Empty expression */
    KALVEX_E_WORK_LIMIT = 19,       /* Work limit exceeded */
    KALVEX_E_NOT_CONVERGED = 20     /* Integral did not converge */
};

/* The flag of e_eval. */
enum KalvexEvalFlag {
    KALVEX_EVAL_PLOT = 0,     /* numbers only, nothing is kept */
    KALVEX_EVAL_STATEMENT = 1 /* a matrix result is kept and handed out by handle */
};

/* What GetResultType() reports of the last e_eval. */
enum KalvexResultType {
    KALVEX_RESULT_NUMBER = 0,
    KALVEX_RESULT_MATRIX = 1 /* the value is the handle of a result matrix */
};

/* How FindMatrix reads its name. */
enum KalvexMatrixMode {
    KALVEX_MATRIX_BY_HANDLE = 9, /* the integer text of a result handle */
    KALVEX_MATRIX_BY_NAME = 33   /* a bracketed matrix name, "[A]" */
};

/* The kind of SetVarFunct and FindVarVal2. */
enum KalvexKind {
    KALVEX_KIND_VARIABLE = 0,
    KALVEX_KIND_FUNCTION = 1
};

/* Element order of matrix specs and listings (aElemOrderSet, aElemOrderEx). */
enum KalvexElementOrder {
    KALVEX_BY_ROW = 0,
    KALVEX_BY_COLUMN = 1
};

/* Evaluates an expression. The value is written to *value (0 on error).
 * flag KALVEX_EVAL_STATEMENT: statement evaluation (a matrix result is kept
 * and handed out by handle); KALVEX_EVAL_PLOT: plot sampling (numbers only,
 * nothing is kept).
 * Returns 0 on success, the error number otherwise. */
KALVEX_API int e_eval(const char* text, double* value, int flag);

/* Plot sampling: evaluates text at count values of the variable var, with
 * the values e_eval with KALVEX_EVAL_PLOT gives when each x[i] is put in place of var
 * wherever var stands as a name of its own (any case; not where it names a
 * function or a matrix). An empty var binds nothing. No variable of the
 * library is created or changed. y[i] receives the value and valid[i] 1, or
 * y[i] 0 and valid[i] 0 when that evaluation fails. Returns 0 when text is an
 * expression (GetE_Error then reports the outcome of the last sample), else
 * the error number, every valid[i] being 0. */
KALVEX_API int e_evalAt(const char* text, const char* var, const double* x, int count, double* y,
                        unsigned char* valid);

/* KALVEX_NO_ERROR after a successful last operation, else the error number. */
KALVEX_API int GetE_Error(void);

/* The description of an error number (of the last error when it is that one,
 * with the position and name it concerns). */
KALVEX_API const char* GetE_ErrDescr(int error);

/* KALVEX_RESULT_MATRIX when the last e_eval made a matrix or vector; its value
 * is then a handle whose integer text names the result matrix for FindMatrix
 * (KALVEX_MATRIX_BY_HANDLE). KALVEX_RESULT_NUMBER for a number. */
KALVEX_API int GetResultType(void);

/* Finds a matrix by name (a KalvexMatrixMode). Writes rows and cols and
 * returns the rows * cols elements row after row, or NULL when absent. */
KALVEX_API const double* FindMatrix(const char* name, int mode, int* rows, int* cols);

/* Defines a matrix or vector from a spec "[A]; rows; cols; v11; v12; ...".
 * The two integers are reserved (callers pass 0 and 1). */
KALVEX_API void SetStrMatrix(const char* spec, int reserved0, int reserved1);

/* KALVEX_KIND_VARIABLE: defines the number variable name with the value of
 * the expression text (evaluated now). KALVEX_KIND_FUNCTION: defines the
 * function name (optionally with a parameter list, "f(x)" or "g(x, y)") with
 * the body text. */
KALVEX_API void SetVarFunct(const char* name, const char* text, int kind);

/* KALVEX_KIND_VARIABLE: out is a double* that receives the value of the
 * number variable name. KALVEX_KIND_FUNCTION: out is a char buffer of *len
 * bytes (on entry) that receives the function body, cut to fit and
 * zero-terminated; *len receives the full length of the body. Returns 1 when
 * the name was found, 0 otherwise. */
KALVEX_API int FindVarVal2(const char* name, int kind, void* out, double* len);

/* The whole body text of the function name, or NULL when there is none. */
KALVEX_API const char* GetFunctText(const char* name);

/* Listing of a matrix: one row a line (CR LF), columns aligned, each value
 * with as many decimals as zeroMask ("0." followed by zeros) has zeros.
 * mode is "String"; the two last texts are reserved (pass ""). */
KALVEX_API const char* aPrint(const double* elements, int rows, int cols, const char* mode,
                              const char* zeroMask, const char* reserved1, const char* reserved2);

/* Element order of matrix specs and listings: KALVEX_BY_ROW (row after row)
 * or KALVEX_BY_COLUMN (column after column). */
KALVEX_API void aElemOrderSet(int order);

/* Reports the element order in force (KALVEX_BY_ROW or KALVEX_BY_COLUMN),
 * tested on a 2 x 2 probe stored as {0, 2, 1, 0}. */
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
