# folio_warnings(target): the project's warning set, errors when FOLIO_WARNINGS_AS_ERRORS is on (CI).
function(folio_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(FOLIO_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
