# Copies the shipped files into a data directory, keeping any already there.
file(MAKE_DIRECTORY "${TO}")
foreach(f RbCtiData2K.mdb RbctiWork2K.mdb yubin2000.mdb chime.wav)
    if(NOT EXISTS "${TO}/${f}")
        file(COPY "${FROM}/${f}" DESTINATION "${TO}")
    endif()
endforeach()
