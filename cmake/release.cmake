# The facts of the release that the desktop metadata, the manual pages and the Debian package
# share; the version itself is the one given to project().
set(SORRELIX_RELEASE_DATE 2026-12-07)
set(SORRELIX_MAINTAINER "The Sorrelix developers <developers@sorrelix.app>")
