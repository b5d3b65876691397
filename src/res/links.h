/*
 * links.h - the maker's addresses: update server, home page, mail.
 *
 * Plain #defines of string literals, read by windres (the About dialog's
 * link texts) and by the C++ code (the update address), so each address
 * is written once. The product has no domain of its own yet: these names
 * lie under ".example", which is reserved for documentation (RFC 2606) and
 * can never belong to somebody else.
 */
#ifndef TARNVELL_LINKS_H
#define TARNVELL_LINKS_H

#define TARNVELL_UPDATE_HOST    "update.tarnvell.example"
#define TARNVELL_HOME_URL       "http://www.tarnvell.example"
#define TARNVELL_MAIL_URL       "mailto:support@tarnvell.example"

#endif /* TARNVELL_LINKS_H */
