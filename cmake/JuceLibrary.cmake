# Compiles the JUCE modules once into nadavo_juce; every target links it.
pkg_check_modules(JUCE_SYSLIBS REQUIRED IMPORTED_TARGET
  zlib libpng libjpeg flac vorbisenc vorbisfile vorbis ogg alsa freetype2)

add_library(nadavo_juce STATIC)
target_link_libraries(nadavo_juce
  PRIVATE
    juce::juce_core juce::juce_events juce::juce_data_structures
    juce::juce_graphics juce::juce_gui_basics juce::juce_gui_extra
    juce::juce_audio_basics juce::juce_audio_devices juce::juce_audio_formats
    juce::juce_audio_processors juce::juce_audio_utils
  PUBLIC
    PkgConfig::JUCE_SYSLIBS)
target_compile_definitions(nadavo_juce
  PRIVATE
    JUCE_WEB_BROWSER=0 JUCE_USE_CURL=0
    JUCE_USE_MP3AUDIOFORMAT=1 JUCE_USE_OGGVORBIS=1 JUCE_USE_FLAC=1
    JUCE_ALSA=1 JUCE_JACK=1
    JUCE_PLUGINHOST_VST3=1 JUCE_PLUGINHOST_LV2=1 JUCE_PLUGINHOST_LADSPA=1
    JUCE_DISPLAY_SPLASH_SCREEN=0 JUCE_REPORT_APP_USAGE=0
    JUCE_MODAL_LOOPS_PERMITTED=1 JUCE_STANDALONE_APPLICATION=1
    JUCE_SILENCE_XCODE_15_LINKER_WARNING=1
  INTERFACE
    $<TARGET_PROPERTY:nadavo_juce,COMPILE_DEFINITIONS>)
target_include_directories(nadavo_juce INTERFACE
  $<TARGET_PROPERTY:nadavo_juce,INCLUDE_DIRECTORIES>)
set_target_properties(nadavo_juce PROPERTIES POSITION_INDEPENDENT_CODE ON)
