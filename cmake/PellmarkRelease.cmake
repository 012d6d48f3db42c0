# pellmark_release_binary(target): a program or DLL that ships in the
# package. Linked without a time stamp in its headers (the linker otherwise
# writes the time of the link, so two builds of one commit would differ) and,
# in an optimised build, without the symbol table, which only a debugger
# reads. Exports stay: they live in the export table, not the symbol table.
function(pellmark_release_binary target)
  if(WIN32)
    target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp $<$<CONFIG:Release>:-s>)
  endif()
endfunction()
