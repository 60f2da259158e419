#include "parser/Statement.h"

StatementHandler FindStatement(std::string_view) { return nullptr; }
