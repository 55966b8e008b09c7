# bash completion for tarvex-cli.
# The sub-commands, their options and the values an option takes are read from the program's own
# help, so the completion always offers what the installed program accepts. In the help, an
# option with a value reads "--name=VALUE"; lower-case alternatives ("--tags=v1|v2") are the
# accepted values; the last word of a usage line names the files: "FICHIER" for MP3 files,
# "FICHIER.wav" for files of that type, another upper-case word for any file.

# The usage line of each sub-command, as `tarvex-cli --help` lists them in French, the language
# whose words ("FICHIER") the completion reads.
_tarvex_cli_usages()
{
    LC_ALL=C LANGUAGE= "$1" --help 2>/dev/null | sed -n 's/^  \([a-z]\)/\1/p'
}

# Adds to COMPREPLY the names of files that start with $1 and end in one of the extensions that
# follow, in any letter case (any file when none is given), and the folders to walk into.
_tarvex_cli_files()
{
    local cur=$1 name extension
    shift
    local wanted=" ${*,,} "
    local IFS=$'\n'
    compopt -o filenames 2>/dev/null
    for name in $(compgen -f -- "$cur"); do
        extension=${name##*.}
        if [[ -d $name || $wanted == "  " || ($name == *.* && $wanted == *" ${extension,,} "*) ]]; then
            COMPREPLY+=("$name")
        fi
    done
}

_tarvex_cli()
{
    local program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]}
    local usages commands
    COMPREPLY=()
    usages=$(_tarvex_cli_usages "$program")
    commands=$(cut -d ' ' -f 1 <<<"$usages")
    if ((COMP_CWORD == 1)); then
        COMPREPLY=($(compgen -W "$commands help --help --version" -- "$cur"))
        return
    fi
    local command=${COMP_WORDS[1]}
    if [[ $command == help ]]; then
        ((COMP_CWORD == 2)) && COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi
    local usage synopsis
    usage=$(grep -m 1 "^$command " <<<"$usages") || return
    synopsis=${usage%%  *}

    # After "--" every word is a file.
    local i options_ended=false
    for ((i = 2; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -- ]] && options_ended=true
    done

    # The value of an option: bash splits "--name=value" into "--name", "=" and "value" unless
    # "=" was taken out of COMP_WORDBREAKS.
    local option="" value prefix=""
    if [[ $options_ended == false ]]; then
        if [[ $cur == --*=* ]]; then
            option=${cur%%=*} value=${cur#*=} prefix="$option="
        elif [[ $cur == = ]]; then
            option=${COMP_WORDS[COMP_CWORD - 1]} value=""
        elif [[ ${COMP_WORDS[COMP_CWORD - 1]} == = ]]; then
            option=${COMP_WORDS[COMP_CWORD - 2]} value=$cur
        fi
    fi
    if [[ -n $option ]]; then
        local choices
        choices=$(grep -o -- "$option=[a-z0-9-]*\(|[a-z0-9-]\+\)\+" <<<"$synopsis" | head -n 1)
        if [[ -n $choices ]]; then
            COMPREPLY=($(compgen -W "$(tr '|' ' ' <<<"${choices#*=}")" -- "$value"))
        else
            case $option in
            --cd-image) _tarvex_cli_files "$value" cue toc nrg ;;
            --image) _tarvex_cli_files "$value" jpg jpeg png ;;
            --lecteur) COMPREPLY=($(compgen -W "$(ls -d /dev/sr[0-9]* /dev/cdrom* 2>/dev/null)" -- "$value")) ;;
            esac
        fi
        [[ -n $prefix ]] && COMPREPLY=("${COMPREPLY[@]/#/$prefix}")
        return
    fi

    if [[ $options_ended == false && $cur == -* ]]; then
        local options="" name
        # A description's "--name" is the option "--name=" when the usage has that one.
        for name in $(grep -o -- '--[a-z0-9-]\+=\?' <<<"$usage" | sort -u); do
            [[ $name != *= && $usage == *"$name="* ]] || options+=" $name"
        done
        COMPREPLY=($(compgen -W "$options --help --" -- "$cur"))
        [[ ${COMPREPLY[*]} == *= ]] && compopt -o nospace 2>/dev/null
        return
    fi

    local files=${synopsis##* }
    case $files in
    FICHIER...) _tarvex_cli_files "$cur" mp3 ;;
    FICHIER.*) files=${files#FICHIER.} && _tarvex_cli_files "$cur" "${files%...}" ;;
    [A-Z]*) _tarvex_cli_files "$cur" ;;
    esac
}

complete -F _tarvex_cli tarvex-cli
