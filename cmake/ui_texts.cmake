# Turns the UTF-8 text table into a header of GBK byte literals. Every byte is
# written as an escape, so the header means the same to GCC and to clang (which
# cannot convert literals to another character set itself).
file(STRINGS "${INPUT}" lines ENCODING UTF-8)
set(body "")
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR NOT line MATCHES "^([A-Za-z0-9_]+) = (.*)$")
    continue()
  endif()
  set(name "${CMAKE_MATCH_1}")
  set(utf8 "${CMAKE_MATCH_2}")
  file(WRITE "${WORKDIR}/text.utf8" "${utf8}")
  execute_process(COMMAND iconv -f UTF-8 -t GBK "${WORKDIR}/text.utf8" -o "${WORKDIR}/text.gbk"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "ui text '${name}' has no GBK form")
  endif()
  file(READ "${WORKDIR}/text.gbk" hex HEX)
  string(REGEX REPLACE "(..)" "\\\\x\\1" escaped "${hex}")
  string(APPEND body "inline constexpr std::string_view ${name} = \"${escaped}\";\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from app/ui_texts.txt; do not edit.\n#pragma once\n#include <string_view>\nnamespace inkmoss::ui {\n${body}}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
