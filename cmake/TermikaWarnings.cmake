# Strict warnings for the project's own targets only (Qt's generated moc code
# is compiled as part of them, which is fine with these flags).
function(termika_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
