# cmake -DPROGRAMS="a|b" -P LinksNoWidgets.cmake
# Fails when one of the programs loads Qt Widgets: the test programs of the
# non-GUI libraries must not, whatever those libraries declare.
string(REPLACE "|" ";" programs "${PROGRAMS}")
foreach(program ${programs})
  execute_process(COMMAND ldd ${program} OUTPUT_VARIABLE libraries RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "ldd ${program} failed")
  endif()
  if(libraries MATCHES "libQt6Widgets")
    get_filename_component(name ${program} NAME)
    list(APPEND offenders ${name})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "Qt Widgets loaded by: ${offenders}")
endif()
