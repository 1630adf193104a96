#!/bin/sh
# Stands in for the product installer: works a while, then leaves the handshake value "BIS"
# under "WINDOWSCBA" in the current user's launcher registry, as the real installer does when
# it has finished.
sleep "${STANDIN_SECONDS:-2}"
registry="${XDG_CONFIG_HOME:-$HOME/.config}/Voltaris/Registry.ini"
mkdir -p "$(dirname "$registry")"
printf '[WINDOWSCBA]\nBIS=installed\n' >> "$registry"
