# Sourced by the scripts: the MessengerAPI client's names, read from the one description of its
# interface, and the wait for the stand-in. A script that hands them to another shell passes the
# output of `messenger_api_definitions` for that shell to eval.
messenger_api_xml=$(dirname "${BASH_SOURCE[0]}")/../dist/MessengerAPI.IMessenger.xml
MESSENGER_API_NAME=$(sed -n 's/.*"example.dorvane.BusName" value="\([^"]*\)".*/\1/p' "$messenger_api_xml")
MESSENGER_API_PATH=$(sed -n 's/.*<node name="\([^"]*\)".*/\1/p' "$messenger_api_xml")
MESSENGER_API_INTERFACE=$(sed -n 's/.*<interface name="\([^"]*\)".*/\1/p' "$messenger_api_xml")

# Waits until a program (the stand-in) owns the MessengerAPI name on the session bus: for at most
# $1 tenths of a second, failing after that, or for as long as it takes without $1.
wait_for_standin() {
    local left=${1:--1}
    until dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner "string:$MESSENGER_API_NAME" 2>/dev/null |
        grep -q true; do
        [ "$left" -eq 0 ] && return 1
        left=$((left - 1))
        sleep 0.1
    done
}

messenger_api_definitions() {
    declare -p MESSENGER_API_NAME MESSENGER_API_PATH MESSENGER_API_INTERFACE
    declare -f wait_for_standin
}
