# Deployment settings: the host of each server kind. These are the compiled-in
# defaults; "ldstarter.ini" may override each one in its [servers] section
# under the key given in the comment. A host may carry ":port".
set(LD_HOST_DEV_DOWNLOAD "down-dev.ludoria.com" CACHE STRING "[servers] dev_download")
set(LD_HOST_ALPHA_DOWNLOAD "down-alpha.ludoria.com" CACHE STRING "[servers] alpha_download")
set(LD_HOST_OUTSIDE_DOWNLOAD "down-ext.ludoria.com" CACHE STRING "[servers] outside_download")
set(LD_HOST_REAL_DOWNLOAD "down.ludoria.com" CACHE STRING "[servers] real_download")
set(LD_HOST_DEV_GAME "game-dev.ludoria.com" CACHE STRING "[servers] dev_game")
set(LD_HOST_ALPHA_GAME "game-alpha.ludoria.com" CACHE STRING "[servers] alpha_game")
set(LD_HOST_REAL_GAME "game.ludoria.com" CACHE STRING "[servers] real_game")
set(LD_HOST_PORTAL "www.ludoria.com" CACHE STRING "[servers] portal")
# Identifier and token ("plum") servers of the dev, alpha and real zones; the
# HTTPS port of the token refresh is "[servers] plum_https_port" (443).
set(LD_HOST_DEV_PLUM "plum-dev.ludoria.com" CACHE STRING "[servers] dev_plum")
set(LD_HOST_ALPHA_PLUM "plum-alpha.ludoria.com" CACHE STRING "[servers] alpha_plum")
set(LD_HOST_REAL_PLUM "plum.ludoria.com" CACHE STRING "[servers] real_plum")
# Remote reporting: the log-and-crash collection service and the step-log
# servers of the real and alpha zones.
set(LD_HOST_TRACEBOOK "tracebook.ludoria.com" CACHE STRING "[servers] tracebook")
set(LD_HOST_REAL_STEPLOG "log.ludoria.com" CACHE STRING "[servers] real_steplog")
set(LD_HOST_ALPHA_STEPLOG "log-alpha.ludoria.com" CACHE STRING "[servers] alpha_steplog")

# The generated header lives in the build tree; core/settings/deployment_defaults.h.in
# lists what it holds.
set(LD_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
