# Checks that the built program carries our manifest: common controls 6,
# DPI awareness and the administrator level the registry writes need.
file(STRINGS "${EXE}" found REGEX "requireAdministrator|Microsoft\\.Windows\\.Common-Controls|dpiAware")
foreach(needed "requireAdministrator" "Microsoft.Windows.Common-Controls\" version=\"6.0.0.0"
        "<dpiAware")
    string(FIND "${found}" "${needed}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${EXE} lacks ${needed} in its manifest")
    endif()
endforeach()
message(STATUS "manifest present")
