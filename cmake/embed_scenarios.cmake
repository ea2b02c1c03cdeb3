# Writes a C++ file holding every built-in scenario's JSON text.
set(body "#include \"cli/builtin_scenarios.h\"\n\nconst std::vector<BuiltinScenario>& BuiltinScenarios() {\n    static const std::vector<BuiltinScenario> scenarios = {\n")
foreach(file IN LISTS FILES)
    get_filename_component(name ${file} NAME_WE)
    file(READ ${file} text)
    string(APPEND body "        {\"${name}\", R\"VIGILOR_JSON(${text})VIGILOR_JSON\"},\n")
endforeach()
string(APPEND body "    };\n    return scenarios;\n}\n")
file(WRITE ${OUTPUT} "${body}")
