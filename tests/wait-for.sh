# Sourced by the shell tests: wait_for <seconds> <command...> polls the
# command every 0.1 s until it succeeds, for at most the seconds given times
# QUOBLY_TEST_TIMEOUT_SCALE (as TestTimeout does for the C++ tests). A
# function, where the condition needs a fresh command substitution at every
# try.
wait_for() {
  local tries=$(($1 * 10 * ${QUOBLY_TEST_TIMEOUT_SCALE:-1}))
  shift
  until "$@"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || return 1
    sleep 0.1
  done
}
