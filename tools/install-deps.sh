#!/bin/sh
# Installs what Quorix needs on Debian 12. Safe to run again; uses sudo when not root.
set -eu
packages="g++ lld cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev locales qt6-base-dev libgl-dev xvfb xauth fonts-liberation"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# The interoperability tests read Quorix's files with ezdxf and Gnumeric's ssconvert. Without their
# recommends they add about ten packages instead of about 250 (Gnumeric's desktop and help).
peers="python3-ezdxf gnumeric"
missing_peers=""
for p in $peers; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing_peers="$missing_peers $p"
done
if [ -n "$missing$missing_peers" ]; then
    $sudo apt-get update -q
fi
if [ -n "$missing" ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $missing
fi
if [ -n "$missing_peers" ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing_peers
fi
# Golden tests run once under a German locale to prove numbers never follow the user's locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    $sudo sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi
