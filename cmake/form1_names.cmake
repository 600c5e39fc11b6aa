# The control and menu names of the window, from its designer file: a name the file does not
# hold does not compile. Sets KELVARA_FORM1_NAMES to the generated header; its folder goes on
# the include path of whatever includes it.
set(KELVARA_FORM1_NAMES ${CMAKE_BINARY_DIR}/generated/operations/form1_names.h)
add_custom_command(
    OUTPUT ${KELVARA_FORM1_NAMES}
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/app/ui_names.py
            ${PROJECT_SOURCE_DIR}/app/Form1.ui ${KELVARA_FORM1_NAMES}
    DEPENDS ${PROJECT_SOURCE_DIR}/app/ui_names.py ${PROJECT_SOURCE_DIR}/app/win32/ui_layout.py
            ${PROJECT_SOURCE_DIR}/app/Form1.ui
    COMMENT "Control names from Form1.ui"
)
