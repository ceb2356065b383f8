// Statements for the compiler alone. Built as it stands, the READs of every
// kind of variable and the WRITEs of every kind of value compile; with one
// CHECK_<case> defined, one statement is added on which the build must fail:
// a READ into something read-only, a WRITE into read-only text, or a result that must be looked at
// and is dropped (built with -Werror=unused-result).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fmtio/io.h"

namespace fmtio {

void transfers(std::string& record) {
  std::int32_t number = 0;
  std::string text(4, ' ');
  float pair[2] = {};
  std::vector<double> values(3);
  Logical flag;
  char field[3] = {};
  const std::string constant = "text";
  READ(Internal(record), FMT("(I4,A,2F4.0,3F4.0,L2,A3)"), number, text, std::span<float>(pair),
       values, flag, Chars{field, 3});
  ReadStatement read = Statement::read(Internal(record), &FMT("(I4,A)"));
  read << number << text;
  read.end();
  WRITE(Internal(record), FMT("(2I4,4A,2F4.0)"), number, 7, "literal", std::string_view("v"),
        constant, std::string("temporary"), std::span<const float>(pair));
  WriteStatement write = Statement::write(Internal(record), &FMT("(I4,A)"));
  write << 7 << constant;
  write.end();
  READ(Internal(std::string_view("1950")), FMT("(I4)"), number);
  READ(Internal(constant), FMT("(A)"), text);

#if defined(CHECK_INTO_CONST_INT)
  const std::int32_t year = 1950;
  READ(Internal(record), FMT("(I4)"), year);
#elif defined(CHECK_INTO_TEMPORARY)
  READ(Internal(record), FMT("(I4)"), std::int32_t{0});
#elif defined(CHECK_INTO_STRING_LITERAL)
  READ(Internal(record), FMT("(A)"), "literal");
#elif defined(CHECK_INTO_STRING_VIEW)
  std::string_view view(text);
  READ(Internal(record), FMT("(A)"), view);
#elif defined(CHECK_INTO_CONST_STRING)
  READ(Internal(record), FMT("(A)"), constant);
#elif defined(CHECK_INTO_SPAN_OF_CONSTANTS)
  READ(Internal(record), FMT("(2F4.0)"), std::span<const float>(pair));
#elif defined(CHECK_INTO_CONST_LOGICAL_THROUGH_A_STATEMENT)
  const Logical fixed;
  ReadStatement again = Statement::read(Internal(record), &FMT("(L2)"));
  again << fixed;
  again.end();
#elif defined(CHECK_WRITE_INTO_STRING_VIEW)
  WRITE(Internal(std::string_view(record)), FMT("(I4)"), number);
#elif defined(CHECK_WRITE_INTO_CONST_STRING)
  WRITE(Internal(constant), FMT("(I4)"), number);
#elif defined(CHECK_WRITE_INTO_TEMPORARY_THROUGH_A_STATEMENT)
  WriteStatement lost = Statement::write(Internal(std::string(4, ' ')), &FMT("(I4)"));
  lost.end();
#elif defined(CHECK_DISCARDED_STATEMENT)
  Statement::write(Internal(record), &FMT("(I4)"));
#elif defined(CHECK_DISCARDED_OUTCOME)
  READ(Control::catching(11), FMT("(I4)"), number);
#endif
}

}  // namespace fmtio
